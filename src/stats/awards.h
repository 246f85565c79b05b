// The awards of one period, worked out from the store of exactly that period's logs, after the
// rules of the award table (award_table.h).
#pragma once

#include "core/store.h"
#include "stats/award_table.h"
#include "stats/kill_streaks.h"
#include "stats/skill_rating.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qla {

// One winner of an award: a player, a pair (nemesis, first blood) or a weapon's best.
struct AwardEntry {
    std::string Player;     // the name as stored
    std::string Other;      // nemesis and first blood: the victim
    std::string Subject;    // weapon kills: the weapon; first blood: the log's label
    std::int64_t Value = 0; // kills, points, a streak's length; the ratio in hundredths
};

struct AwardResult {
    AwardId Id = AwardId::MostKills;
    std::vector<AwardEntry> Entries; // empty: nobody qualifies
    bool Known = true;               // false: the source does not keep what it needs
};

// A player's rise of the conservative rating over a period, in points, and the kills either way
// of the period it rests on.
struct RatingGain {
    std::string Player;
    std::int64_t Points = 0;
    double Encounters = 0;
};

// The rises over a period in `whole`, whose log i ends at killEntriesEnd[i] in its KillEvents:
// one fit on the logs `before` marks (those of the earlier periods), one on those it marks and
// the period's own (`through`).
std::vector<RatingGain> RatingGains(const AnalysisStore& whole,
                                    std::span<const std::size_t> killEntriesEnd,
                                    const std::vector<bool>& before,
                                    const std::vector<bool>& through);

// The rises over everything in `whole` (no earlier period), from its fit on every kill
// (FitSkill(EncountersOf(whole)), which a caller holding it need not fit again).
std::vector<RatingGain> RatingGainsOverAll(const AnalysisStore& whole,
                                           const std::vector<SkillRating>& fitOnAll);

struct AwardInputs {
    const AnalysisStore& Store; // the period's logs and nothing else
    // Each log's end in the store's KillEvents and its label; one log when empty.
    std::span<const std::size_t> KillEntriesEnd;
    std::span<const std::string> LogLabels;
    // Whether the order of the kills is known: a log read keeps it in KillEvents, stored
    // statistics keep the encounters summed and the order beside them (Order), when stored.
    bool StreaksKnown = true;
    std::span<const RatingGain> Gains;
    // The kills in order, for a store of stored statistics; its logs replace KillEntriesEnd for
    // the streaks.
    const KillOrder* Order = nullptr;
    // The streaks worked out already, by player index; empty: from the kills.
    std::span<const PlayerStreaks> Streaks;
    // Each log's figures worked out as it was read, sessions inside it apart, in place of its
    // order: they tell the first bloods; empty: from the kills.
    std::span<const LogKillFigures> LogFigures;
};

// Every award of the table, in its order.
std::vector<AwardResult> ComputeAwards(const AwardInputs& inputs);

// The deaths by the player's own hand or the world: suicide causes and, in full recognition,
// the self and world deaths.
std::int64_t SuicidesOf(const PlayerRecord& player);

} // namespace qla
