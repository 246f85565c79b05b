// The awards, described once: what each measures, the least activity that lets a player win it
// and how a tie is broken. The command line, the JSON and CSV documents and the statistics site
// all read this table, so an award's wording and its rules cannot drift apart.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace qla {

enum class AwardId : std::uint8_t {
    MostKills,
    BestRatingGain,
    LongestKillStreak,
    LongestDeathStreak,
    WeaponKills,
    BestRatio,
    MostTeamkills,
    MostSuicides,
    MostChat,
    Nemesis,
    FirstBlood,
};

struct AwardRule {
    AwardId Id;
    std::string_view Key;      // in JSON and CSV: "most_kills"
    std::string_view Title;    // as the text and the site show it
    std::string_view Measures; // one sentence
    std::string_view Minimum;  // the least activity, as a sentence
    std::string_view TieRule;  // how equal values are ordered
    std::int64_t MinimumCount; // the number Minimum names (0: none)
};

// Every award in the order the outputs show them.
std::span<const AwardRule> AwardRules();
const AwardRule& RuleOf(AwardId id);

// The kills a player needs, and the deaths, for the best kill/death ratio.
inline constexpr std::int64_t kRatioAwardKills = 10;
inline constexpr std::int64_t kRatioAwardDeaths = 5;
// The kills a session needs for the record of the best kill/death ratio in one session.
inline constexpr std::int64_t kRatioRecordKills = 20;

} // namespace qla
