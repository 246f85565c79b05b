// Full recognition: the order of the tests and what each kind stores.
#include "full_recognizer.h"
#include "rename_parser.h"

#include "chat_shapes.h"
#include "core/byte_search.h"
#include "core/text.h"
#include "parsers/classifier.h"

namespace qla {

namespace {

constexpr std::string_view kNoLocation = "Unknown";

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' '))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

void RecordChat(AnalysisStore& store, const ChatShape& chat) {
    const PlayerIndex player = store.FindOrAddPlayer(chat.Name);
    const std::string_view location = chat.Location.empty() ? kNoLocation : chat.Location;
    if (chat.Voice)
        store.RecordVoiceChat(player, chat.Message, location, chat.IsTeam);
    else
        store.RecordTextChat(player, chat.Message, location, chat.IsTeam);
}

// The weapon of a verb: fixed, or read from the line's last characters as classic does.
VerbWeapon WeaponOf(const VerbWeapon& verb, std::string_view text) {
    if (verb.Tails == nullptr)
        return verb;
    for (std::size_t i = 0; i < verb.TailCount; ++i) {
        if (EndsWithBytes(text, verb.Tails[i].Ending))
            return VerbWeapon{verb.Tails[i].Matched, verb.Tails[i].Recorded, verb.Tails[i].Id};
    }
    return VerbWeapon{kUnknownWeapon, kUnknownWeapon, kWeaponUnknown};
}

} // namespace

bool FullRecognizer::RecordKill(AnalysisStore& store, std::string_view text) {
    const int verbIndex = language_.KillVerbs.FirstIndex(text);
    if (verbIndex < 0)
        return false;
    const std::string_view verb = language_.KillVerbs[static_cast<std::size_t>(verbIndex)];
    const std::size_t at = FindBytes(text, verb);
    const VerbWeapon weapon = WeaponOf(language_.KillWeapons[verbIndex], TrimBlanks(text));

    // Read from the left: the victim ends at the verb, the killer at the last possessive, so
    // a killer's name may hold the separator word and an unknown weapon stays out of it.
    const std::string_view victim = text.substr(0, at);
    std::string_view killer = TrimBlanks(text.substr(at + verb.size()));
    if (const std::size_t possessive = RFindBytes(killer, language_.Possessive);
        possessive != std::string_view::npos)
        killer = killer.substr(0, possessive);

    const PlayerIndex victimIndex = names_.Find(store, victim);
    const PlayerIndex killerIndex = names_.Find(store, killer);
    store.RecordKill(killerIndex, victimIndex, weapon.Id, weapon.Recorded);
    return true;
}

bool FullRecognizer::RecordTeamkill(AnalysisStore& store, std::string_view text) {
    const std::size_t at = FindBytes(text, language_.TeamkillPhrase);
    if (at == std::string_view::npos)
        return false;
    std::string_view killer = text.substr(at + language_.TeamkillPhrase.size());
    if (StartsWithBytes(killer, "^7"))
        killer.remove_prefix(2);
    const PlayerIndex victimIndex = names_.Find(store, text.substr(0, at));
    const PlayerIndex killerIndex = names_.Find(store, killer);
    store.RecordTeamkill(killerIndex, victimIndex);
    return true;
}

bool FullRecognizer::RecordDeath(AnalysisStore& store, std::string_view text) {
    text = TrimBlanks(text);
    for (const DeathEnding& death : language_.Deaths) {
        if (text.size() > death.Ending.size() && EndsWithBytes(text, death.Ending)) {
            const PlayerIndex player =
                names_.Find(store, text.substr(0, text.size() - death.Ending.size()));
            store.RecordSuicide(player, death.Cause);
            return true;
        }
    }
    return false;
}

LineKind FullRecognizer::Record(AnalysisStore& store, std::string_view line) {
    // Most lines of a log are engine output without the prefix; they are decided at once.
    if (!StartsWithBytes(line, kSkipNotify))
        return LineKind::None;
    for (const SystemPrefix& system : language_.SystemPrefixes) {
        if (StartsWithBytes(line, system.Prefix))
            return system.Kind;
    }
    if (const auto chat = RecogniseChatShape(line)) {
        RecordChat(store, *chat);
        return chat->Voice ? LineKind::VoiceSay : LineKind::Say;
    }
    const std::string_view text = line.substr(kSkipNotify.size());
    if (text.empty() || text.front() == ':')
        return LineKind::None; // a voice prefix without a voice line's shape
    if (RecordKill(store, text))
        return LineKind::Kill;
    if (RecordTeamkill(store, text))
        return LineKind::Teamkill;
    if (RecordDeath(store, text))
        return LineKind::Died;
    if (const std::size_t at = FindBytes(text, language_.RenamePhrase);
        at != std::string_view::npos && at > 0 &&
        !TrimBlanks(text.substr(at + language_.RenamePhrase.size())).empty()) {
        ParseRenameLine(store, line, language_.RenamePhrase); // names kept for merging players
        return LineKind::Rename; // counts nothing, as in classic recognition
    }
    if (EndsWithBytes(text, "disconnected"))
        return LineKind::Disconnect;
    if (ContainsBytes(text, "timed out"))
        return LineKind::TimeOut;
    return LineKind::None;
}

} // namespace qla
