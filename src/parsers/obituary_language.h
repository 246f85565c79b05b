// The obituary algorithms shared by both log languages, and the tables that tell them apart.
// English and German differ only in phrases, weapon tails and markers; a fix to the cutting
// rules lands in both languages at once.
#pragma once

#include "core/phrase_set.h"
#include "core/store.h"
#include "core/weapons.h"
#include "parsers/line_kind.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qla {

// A weapon recognised by the last characters of a kill line. Every Ending is plain ASCII, so
// comparing its bytes with the end of the line is comparing the last characters.
struct WeaponTail {
    std::string_view Ending;
    std::string_view Matched;  // its length is what is cut off the line
    std::string_view Recorded; // stored in the kill event
    WeaponId Id;               // WeaponIdFromName(Recorded)
};

// What a verb phrase says about the weapon: a fixed weapon, or a look at the line's tail.
struct VerbWeapon {
    std::string_view Matched;
    std::string_view Recorded;
    WeaponId Id = kWeaponUnknown;
    const WeaponTail* Tails = nullptr; // set: the weapon comes from the tail of the line
    std::size_t TailCount = 0;
};

struct KillLanguage {
    PhraseSet Verbs; // in the parser's test order
    VerbWeapon Weapons[PhraseSet::kCapacity];
    std::string_view Separator;       // before the killer: " by " / " von "
    std::string_view Marker;          // before the verb: "was" / "wurde"
    std::int64_t DroppedBeforeMarker; // characters between the victim and the marker
    std::string_view KillerSuffix;    // possessive left on the killer: "'s" / " -"
};

struct SuicideLanguage {
    PhraseSet Phrases;                               // in test order
    std::string_view Suffixes[PhraseSet::kCapacity]; // cut off the end to leave the name
    WeaponId Causes[PhraseSet::kCapacity];
};

struct TeamkillLanguage {
    std::string_view Marker;         // the victim ends before it: "WAS KILLED BY"
    std::string_view MarkerWithCode; // the killer begins after it: "WAS KILLED BY TEAMMATE^7"
};

// `kill`, when given, is what the classifier found in the line; the verb is then read from it.
void ParseKillLineWith(const KillLanguage& language, AnalysisStore& store, std::string_view line,
                       const ClassifiedKill* kill = nullptr);
void ParseSuicideLineWith(const SuicideLanguage& language, AnalysisStore& store,
                          std::string_view line);
void ParseTeamkillLineWith(const TeamkillLanguage& language, AnalysisStore& store,
                           std::string_view line);

// The line less a leading "[skipnotify]".
std::string_view WithoutSkipNotify(std::string_view line);

} // namespace qla
