#include "stats/award_records.h"

#include "core/names.h"
#include "stats/award_table.h"
#include "stats/awards.h"
#include "stats/ratio.h"

#include <array>

namespace qla {
namespace {

enum Record : std::size_t { kKillStreak, kDeathStreak, kSessionKills, kSessionRatio };

// The session's best for one record: the largest value, ties as the awards break them (the
// tie-break smaller first, then the name without colour codes, then the player met first).
struct Best {
    PlayerIndex Player = 0;
    std::int64_t Value = 0, TieBreak = 0;
    std::string Plain;

    void Offer(const AnalysisStore& store, PlayerIndex p, std::int64_t value,
               std::int64_t tieBreak) {
        if (value <= 0)
            return;
        std::string plain = StripColourCodes(store.Players[static_cast<std::size_t>(p)].Name);
        if (Player == 0 || value > Value ||
            (value == Value && (tieBreak < TieBreak || (tieBreak == TieBreak && plain < Plain)))) {
            *this = {p, value, tieBreak, std::move(plain)};
        }
    }
};

} // namespace

RecordBook::RecordBook() {
    records_ = {
        {"longest_kill_streak", "Longest kill streak"},
        {"longest_death_streak", "Longest death streak"},
        {"most_kills_in_session", "Most kills in one session"},
        {"best_ratio_in_session", "Best kill/death ratio in one session (at least 20 kills)"},
    };
}

void RecordBook::AddSession(const AnalysisStore& session, bool streaksKnown, const std::string& log,
                            const std::string& date, const KillOrder* order,
                            std::span<const PlayerStreaks> known) {
    std::array<Best, 4> best;
    std::vector<PlayerStreaks> streaks;
    if (streaksKnown && known.empty())
        streaks = LongestStreaks(session, {}, order);
    else if (streaksKnown)
        streaks.assign(known.begin(), known.end());
    else
        records_[kKillStreak].Known = records_[kDeathStreak].Known = false;
    for (const PlayerIndex p : session.PlayerIndexes()) {
        const PlayerRecord& player = session.Players[static_cast<std::size_t>(p)];
        const std::int64_t kills = player.Kills[kWeaponTotal], deaths = player.Deaths[kWeaponTotal];
        if (streaksKnown) {
            best[kKillStreak].Offer(session, p, streaks[static_cast<std::size_t>(p)].Kills, deaths);
            best[kDeathStreak].Offer(session, p, streaks[static_cast<std::size_t>(p)].Deaths,
                                     kills);
        }
        best[kSessionKills].Offer(session, p, kills, deaths);
        if (kills >= kRatioRecordKills)
            best[kSessionRatio].Offer(session, p, KillDeathRatio(kills, deaths), -kills);
    }
    for (std::size_t r = 0; r < best.size(); ++r) {
        AwardRecord& record = records_[r];
        if (!record.Known || best[r].Player == 0 || (record.Held && best[r].Value <= record.Value))
            continue;
        const PlayerRecord& player = session.Players[static_cast<std::size_t>(best[r].Player)];
        record.Held = true;
        record.Player = player.Name;
        record.Value = best[r].Value;
        record.Kills = player.Kills[kWeaponTotal];
        record.Deaths = player.Deaths[kWeaponTotal];
        record.Log = log;
        record.Date = date;
    }
}

} // namespace qla
