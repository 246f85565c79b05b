// The records: the best of any one session (a log) over every session read, each with the log it
// was made in and the log's date. A later session takes a record only by beating it.
#pragma once

#include "core/store.h"
#include "stats/kill_streaks.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

struct AwardRecord {
    std::string_view Key;   // in JSON and CSV: "longest_kill_streak"
    std::string_view Title; // "Longest kill streak"
    bool Known = true;      // false: some session read keeps no order of its kills
    bool Held = false;      // false: nobody has set it yet
    std::string Player;     // the name as stored
    std::int64_t Value = 0; // kills, deaths; the ratio in hundredths
    std::int64_t Kills = 0, Deaths = 0;
    std::string Log;  // the session's label
    std::string Date; // the log's date key; empty without one
};

class RecordBook {
  public:
    RecordBook();
    // One session's store; `streaksKnown`, `order` and `streaks` as AwardInputs::StreaksKnown,
    // Order and Streaks. A session whose streaks are not known leaves the streak records unknown.
    void AddSession(const AnalysisStore& session, bool streaksKnown, const std::string& log,
                    const std::string& date, const KillOrder* order = nullptr,
                    std::span<const PlayerStreaks> streaks = {});
    // Longest kill streak, longest death streak, most kills in one session, best kill/death
    // ratio in one session (with kRatioRecordKills kills).
    const std::vector<AwardRecord>& Records() const { return records_; }

  private:
    std::vector<AwardRecord> records_;
};

} // namespace qla
