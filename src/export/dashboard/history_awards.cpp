#include "export/dashboard/history_awards.h"

#include "core/names.h"
#include "stats/ratio.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace qla {

std::vector<LogFigures> LogsOfHistory(const std::vector<PlayerHistory>& history) {
    std::map<std::size_t, LogFigures> logs;
    for (const PlayerHistory& player : history)
        for (const PlayerLogFigures& figures : player.Logs) {
            LogFigures& log = logs[figures.Log];
            log.Label = figures.LogLabel;
            log.Date = figures.DateKey;
            log.Players.emplace_back(player.Name, figures);
        }
    std::vector<LogFigures> ordered;
    for (auto& [place, log] : logs)
        ordered.push_back(std::move(log));
    return ordered;
}

namespace {

// Whether the order of the kills is known: a log's store keeps its kills one by one in order; a
// database's history has each log's streaks when the order was stored beside its statistics.
bool StreaksKnownIn(const AnalysisStore& store, const DashboardSettings& settings) {
    if (!settings.FromDatabase)
        return store.KillEventCounts.empty();
    for (const PlayerHistory& player : settings.History)
        for (const PlayerLogFigures& figures : player.Logs)
            if (!figures.StreaksKnown)
                return false;
    return true;
}

} // namespace

bool LogStreaksKnown(const LogFigures& log) {
    return std::all_of(log.Players.begin(), log.Players.end(),
                       [](const auto& player) { return player.second.StreaksKnown; });
}

const LogPlayer* LongestRunOf(const LogFigures& log, bool kills) {
    const auto value = [kills](const PlayerLogFigures& f) {
        return kills ? f.KillStreak : f.DeathStreak;
    };
    const auto tieBreak = [kills](const PlayerLogFigures& f) { return kills ? f.Deaths : f.Kills; };
    const LogPlayer* best = nullptr;
    for (const auto& player : log.Players) {
        if (value(player.second) <= 0)
            continue;
        const auto rank = [&](const LogPlayer& p) {
            return std::make_tuple(-value(p.second), tieBreak(p.second), StripColourCodes(p.first));
        };
        if (!best || rank(player) < rank(*best))
            best = &player;
    }
    return best;
}

std::vector<AwardEntry> HistoryFirstBloods(const std::vector<LogFigures>& logs) {
    std::vector<AwardEntry> bloods;
    for (const LogFigures& log : logs)
        for (const auto& [name, figures] : log.Players)
            if (!figures.FirstBloodVictim.empty())
                bloods.push_back({name, figures.FirstBloodVictim, log.Label, 1});
    return bloods;
}

std::int64_t RatioFor(const PlayerLogFigures& f, std::int64_t minKills, std::int64_t minDeaths) {
    return f.Kills < minKills || f.Deaths < minDeaths ? 0 : KillDeathRatio(f.Kills, f.Deaths);
}

std::vector<AwardResult> AllTimeAwards(const AnalysisStore& store,
                                       const DashboardSettings& settings,
                                       const std::vector<SkillRating>* fitOnAll) {
    const std::vector<RatingGain> gains =
        RatingGainsOverAll(store, fitOnAll ? *fitOnAll : FitSkill(EncountersOf(store)));
    AwardInputs inputs{store, {}, {}, StreaksKnownIn(store, settings), gains, nullptr, {}};
    if (!settings.FromDatabase)
        return ComputeAwards(inputs);
    // Each player's longest runs and each log's first blood come from the history, log by log.
    std::vector<PlayerStreaks> streaks(store.Players.size());
    for (const PlayerHistory& player : settings.History)
        if (const auto index = store.FindPlayer(player.Name))
            for (const PlayerLogFigures& figures : player.Logs) {
                PlayerStreaks& longest = streaks[static_cast<std::size_t>(*index)];
                longest.Kills = std::max(longest.Kills, figures.KillStreak);
                longest.Deaths = std::max(longest.Deaths, figures.DeathStreak);
            }
    inputs.Streaks = streaks;
    std::vector<AwardResult> awards = ComputeAwards(inputs);
    for (AwardResult& award : awards)
        if (award.Id == AwardId::FirstBlood)
            award.Entries = HistoryFirstBloods(LogsOfHistory(settings.History));
    return awards;
}

namespace {

// A database's records of one session from the history's figures per log.
std::vector<AwardRecord> HistoryRecords(const AnalysisStore& store,
                                        const DashboardSettings& settings) {
    RecordBook book; // for the records' names and their order
    std::vector<AwardRecord> records = book.Records();
    const auto offer = [](AwardRecord& record, const LogFigures& log, const LogPlayer& player,
                          std::int64_t value) {
        if (value <= 0 || (record.Held && value <= record.Value))
            return;
        record.Held = true;
        record.Player = player.first;
        record.Value = value;
        record.Kills = player.second.Kills;
        record.Deaths = player.second.Deaths;
        record.Log = log.Label;
        record.Date = log.Date;
    };
    records[0].Known = records[1].Known = StreaksKnownIn(store, settings);
    for (const LogFigures& log : LogsOfHistory(settings.History)) {
        for (const bool kills : {true, false})
            if (const auto* best = LongestRunOf(log, kills); best && records[0].Known)
                offer(records[kills ? 0 : 1], log, *best,
                      kills ? best->second.KillStreak : best->second.DeathStreak);
        if (const auto* best = BestOf(log, [](const PlayerLogFigures& f) { return f.Kills; }))
            offer(records[2], log, *best, best->second.Kills);
        const auto ratio = [](const PlayerLogFigures& f) {
            return RatioFor(f, kRatioRecordKills, 0);
        };
        if (const auto* best = BestOf(log, ratio))
            offer(records[3], log, *best, ratio(best->second));
    }
    return records;
}

} // namespace

std::vector<AwardRecord> SessionRecords(const AnalysisStore& store,
                                        const DashboardSettings& settings) {
    if (settings.FromDatabase)
        return HistoryRecords(store, settings);
    RecordBook book;
    book.AddSession(store, StreaksKnownIn(store, settings), settings.SourceName, settings.LogDate);
    return book.Records();
}

} // namespace qla
