#include "stats/award_table.h"

#include <array>

namespace qla {
namespace {

constexpr std::string_view kFewerDeathsThenName =
    "More first; then fewer deaths, then the name without colour codes (byte order), then the "
    "player met first.";

constexpr std::array<AwardRule, 11> kAwardRules{{
    {AwardId::MostKills, "most_kills", "Most kills", "Kills of other players (teamkills apart).",
     "At least 1 kill.", kFewerDeathsThenName, 1},
    {AwardId::BestRatingGain, "best_rating_gain", "Best rating gain",
     "The rise of the conservative skill rating (the rating less twice its uncertainty, as qla "
     "ratings ranks) from the logs before the period to the period's end, in points.",
     "At least 20 kills either way in the period.", kFewerDeathsThenName, 20},
    {AwardId::LongestKillStreak, "longest_kill_streak", "Longest kill streak",
     "Kills in a row without being killed, counted in log order within one log (a teamkill "
     "suffered ends it; suicides, which the logs' order is not kept for, do not).",
     "A streak of at least 2 kills.", kFewerDeathsThenName, 2},
    {AwardId::LongestDeathStreak, "longest_death_streak", "Longest death streak",
     "Deaths by other players' hands in a row without a kill, counted in log order within one "
     "log (teamkills suffered included).",
     "A streak of at least 2 deaths.",
     "More first; then fewer kills, then the name without colour codes (byte order), then the "
     "player met first.",
     2},
    {AwardId::WeaponKills, "weapon_kills", "Most kills with each weapon",
     "Kills with each weapon; the game's weapons have no classes in the language tables, so the "
     "award is given per weapon.",
     "At least 1 kill with the weapon.", kFewerDeathsThenName, 1},
    {AwardId::BestRatio, "best_ratio", "Best kill/death ratio",
     "Kills divided by deaths (suicides included in the deaths).",
     "At least 10 kills and 5 deaths.",
     "Higher first; then more kills, then the name without colour codes (byte order), then the "
     "player met first.",
     kRatioAwardKills},
    {AwardId::MostTeamkills, "most_teamkills", "Most teamkills (the shame list)",
     "Kills of team mates.", "At least 1 teamkill.", kFewerDeathsThenName, 1},
    {AwardId::MostSuicides, "most_suicides", "Most suicides",
     "Deaths by the player's own hand or the world (falling, drowning, own grenades).",
     "At least 1 suicide.",
     "More first; then fewer kills, then the name without colour codes (byte order), then the "
     "player met first.",
     1},
    {AwardId::MostChat, "most_chat", "Most chat messages", "Voice and text chat messages.",
     "At least 1 message.", kFewerDeathsThenName, 1},
    {AwardId::Nemesis, "nemesis", "Nemesis pairs",
     "Who kills whom the most: the five pairs of one player killing another most often "
     "(teamkills apart).",
     "At least 3 kills of one player by the other.",
     "More first; then the killer's name, then the victim's, both without colour codes (byte "
     "order).",
     3},
    {AwardId::FirstBlood, "first_blood", "First blood",
     "The first kill of each log (teamkills apart): who killed whom.",
     "None: every log's first "
     "kill counts.",
     "None needed: a log has one first kill.", 0},
}};

} // namespace

std::span<const AwardRule> AwardRules() {
    return kAwardRules;
}

const AwardRule& RuleOf(AwardId id) {
    return kAwardRules[static_cast<std::size_t>(id)];
}

} // namespace qla
