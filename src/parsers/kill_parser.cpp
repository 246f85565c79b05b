// The kill-line algorithm. The weapon is recognised from the verb phrase or the line's last
// characters, the weapon suffix is cut off by length, the killer follows the last separator and
// the victim stands before the last marker word.
#include "core/text.h"
#include "obituary_language.h"
#include "parsers/classifier.h"

#include <bit>

namespace qla {

std::string_view WithoutSkipNotify(std::string_view line) {
    if (StartsWithBytes(line, kSkipNotify)) {
        line.remove_prefix(kSkipNotify.size());
    }
    return line;
}

namespace {

// No phrase at all (a line that reached the parser some other way): no weapon, which still
// cuts the 3 characters of a possessive.
constexpr VerbWeapon kNoWeapon{"", "", kWeaponUnknown};

// The first verb (in the parser's order) among the phrases the classifier found. The "[skipnotify]"
// it saw in front holds no phrase's first letter, so line and text hold the same phrases.
int FirstClassifiedVerb(const PhraseSet& verbs, const ClassifiedKill& kill) {
    for (std::size_t i = 0; i < verbs.size(); ++i) {
        for (std::uint32_t mask = kill.Mask; mask != 0; mask &= mask - 1) {
            if (SameText(verbs[i], (*kill.Phrases)[std::countr_zero(mask)])) {
                return static_cast<int>(i);
            }
        }
    }
    return -1;
}

VerbWeapon WeaponOfLine(const KillLanguage& language, std::string_view text,
                        const ClassifiedKill* kill) {
    const int verb = kill != nullptr && kill->Phrases != nullptr
                         ? FirstClassifiedVerb(language.Verbs, *kill)
                         : language.Verbs.FirstIndex(text);
    if (verb < 0) {
        return kNoWeapon;
    }
    const VerbWeapon& weapon = language.Weapons[verb];
    if (weapon.Tails == nullptr) {
        return weapon;
    }
    for (std::size_t i = 0; i < weapon.TailCount; ++i) {
        const WeaponTail& tail = weapon.Tails[i];
        if (EndsWithBytes(text, tail.Ending)) {
            return VerbWeapon{tail.Matched, tail.Recorded, tail.Id};
        }
    }
    return VerbWeapon{kUnknownWeapon, kUnknownWeapon, kWeaponUnknown};
}

} // namespace

void ParseKillLineWith(const KillLanguage& language, AnalysisStore& store, std::string_view line,
                       const ClassifiedKill* kill) {
    std::string_view text = WithoutSkipNotify(line);
    const VerbWeapon weapon = WeaponOfLine(language, text, kill);

    // The 3 extra characters are the possessive in front of the weapon ("'s ", " - "). An
    // unrecognised weapon is left on the line and so ends up in the killer's name.
    if (weapon.Matched != kUnknownWeapon) {
        text = DropLastChars(text, CharCount(weapon.Matched) + 3);
    }

    std::string_view killer;
    std::string_view beforeKiller = text;
    if (const std::size_t at = RFindBytes(text, language.Separator); at != std::string_view::npos) {
        killer = text.substr(at + language.Separator.size());
        beforeKiller = text.substr(0, at);
    }

    // Searching backwards finds the verb's marker even when the victim's name holds it too.
    std::string_view victim;
    if (const std::size_t at = RFindBytes(beforeKiller, language.Marker);
        at != std::string_view::npos) {
        victim = DropLastChars(beforeKiller.substr(0, at), language.DroppedBeforeMarker);
    }

    // A weapon longer than the matched text ("'s support fire") leaves its possessive behind.
    killer = TrimRightSpaces(killer);
    if (EndsWithBytes(killer, language.KillerSuffix)) {
        killer.remove_suffix(language.KillerSuffix.size());
    }

    // The victim is filed first, so of two new players the victim gets the lower index.
    const PlayerIndex victimIndex = store.FindOrAddPlayer(victim);
    const PlayerIndex killerIndex = store.FindOrAddPlayer(killer);
    store.RecordKill(killerIndex, victimIndex, weapon.Id, weapon.Recorded);
}

} // namespace qla
