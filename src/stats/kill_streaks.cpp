#include "stats/kill_streaks.h"

#include <algorithm>

namespace qla {
namespace {

// The runs of kills and deaths going on; a start again clears only the players it moved, so
// that a database of many short logs costs no pass over every player per log.
class Runs {
  public:
    explicit Runs(std::size_t players) : runs_(players) {}

    // The victim's run of kills ends and his run of deaths grows, a teamkill's too; only a kill
    // of an enemy counts for the killer. `grew(player, kills, length)` hears of each run grown.
    template <class Grew> void Kill(const KillEvent& event, Grew&& grew) {
        const auto killer = static_cast<std::size_t>(event.Killer);
        const auto victim = static_cast<std::size_t>(event.Victim);
        Run& fallen = Touch(victim);
        fallen.Kills = 0;
        grew(event.Victim, false, ++fallen.Deaths);
        if (event.WeaponText == kEventTeamkill || killer == victim)
            return;
        Run& scorer = Touch(killer);
        scorer.Deaths = 0;
        grew(event.Killer, true, ++scorer.Kills);
    }

    void StartAgain() {
        for (const std::size_t player : moved_)
            runs_[player] = Run{};
        moved_.clear();
    }

  private:
    struct Run {
        std::int64_t Kills = 0, Deaths = 0;
        bool Moved = false;
    };
    Run& Touch(std::size_t player) {
        Run& run = runs_[player];
        if (!run.Moved) {
            run.Moved = true;
            moved_.push_back(player);
        }
        return run;
    }
    std::vector<Run> runs_;
    std::vector<std::size_t> moved_;
};

// The store's logs as spans of KillEvents: [1, end0), [end0, end1), ...; one when none is given.
std::vector<std::pair<std::size_t, std::size_t>>
EntrySpans(const AnalysisStore& store, std::span<const std::size_t> killEntriesEnd) {
    std::size_t begin = 1; // after the placeholder
    if (killEntriesEnd.empty())
        return {{begin, std::max(begin, store.KillEvents.size())}};
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (const std::size_t end : killEntriesEnd) {
        spans.emplace_back(begin, std::max(begin, end));
        begin = std::max(begin, end);
    }
    return spans;
}

// Calls `walk(log, event)` for each kill of the order, log by log, and `startAgain()` at each
// log's start and, when `sessions`, at each session inside a log.
template <class StartAgain, class Walk>
void WalkOrder(const AnalysisStore& store, const KillOrder& order, bool sessions,
               StartAgain&& startAgain, Walk&& walk) {
    std::size_t at = 0;
    auto session = order.SessionStarts.begin();
    for (std::size_t log = 0; log < order.LogEnds.size(); ++log) {
        startAgain();
        const std::size_t end = std::min(order.LogEnds[log], order.Entries.size());
        for (; at < end; ++at) {
            while (session != order.SessionStarts.end() && *session < at)
                ++session;
            if (sessions && session != order.SessionStarts.end() && *session == at)
                startAgain();
            const std::uint32_t entry = order.Entries[at];
            if (entry > 0 && entry < store.KillEvents.size())
                walk(log, store.KillEvents[entry]);
        }
    }
}

} // namespace

bool KillOrder::AllKnown() const {
    return std::find(Known.begin(), Known.end(), false) == Known.end();
}

std::vector<std::pair<std::size_t, std::size_t>> KillOrder::SessionsOf(std::size_t log) const {
    std::vector<std::pair<std::size_t, std::size_t>> sessions;
    if (log >= LogEnds.size())
        return sessions;
    const std::size_t first = log == 0 ? 0 : LogEnds[log - 1], end = LogEnds[log];
    std::size_t begin = first;
    for (auto start = std::upper_bound(SessionStarts.begin(), SessionStarts.end(), first);
         start != SessionStarts.end() && *start < end; ++start) {
        sessions.emplace_back(begin, *start);
        begin = *start;
    }
    sessions.emplace_back(begin, end);
    return sessions;
}

std::vector<PlayerStreaks> LongestStreaks(const AnalysisStore& store,
                                          std::span<const std::size_t> killEntriesEnd,
                                          const KillOrder* order) {
    std::vector<PlayerStreaks> longest(store.Players.size());
    Runs runs(store.Players.size());
    const auto walk = [&](std::size_t log, const KillEvent& event) {
        runs.Kill(event, [&](PlayerIndex player, bool kills, std::int64_t length) {
            PlayerStreaks& best = longest[static_cast<std::size_t>(player)];
            std::int64_t& value = kills ? best.Kills : best.Deaths;
            if (length > value) {
                value = length;
                (kills ? best.KillsLog : best.DeathsLog) = log;
            }
        });
    };
    if (order) {
        WalkOrder(
            store, *order, true, [&] { runs.StartAgain(); }, walk);
        return longest;
    }
    const auto spans = EntrySpans(store, killEntriesEnd);
    for (std::size_t log = 0; log < spans.size(); ++log) {
        runs.StartAgain();
        for (std::size_t at = spans[log].first; at < spans[log].second; ++at)
            walk(log, store.KillEvents[at]);
    }
    return longest;
}

namespace {

// Each log's figures, the log i's kills [spans[i].first, spans[i].second) of KillEvents (the
// first blood) and its part of the order (the streaks).
std::vector<LogKillFigures>
FiguresOfSpans(const AnalysisStore& store,
               const std::vector<std::pair<std::size_t, std::size_t>>& spans,
               const KillOrder& order, bool sessionsInsideLogs) {
    std::vector<LogKillFigures> figures(order.LogEnds.size());
    for (std::size_t log = 0; log < figures.size() && log < spans.size(); ++log)
        for (std::size_t at = spans[log].first; at < spans[log].second; ++at)
            if (const KillEvent& event = store.KillEvents[at]; event.WeaponText != kEventTeamkill) {
                figures[log].FirstBloodKiller = event.Killer;
                figures[log].FirstBloodVictim = event.Victim;
                break;
            }
    // The longest runs of the log being walked, and who has one.
    std::vector<LogKillFigures::Player> best(store.Players.size());
    std::vector<PlayerIndex> ranked;
    std::size_t walking = 0;
    const auto close = [&] {
        if (walking >= figures.size())
            return;
        std::sort(ranked.begin(), ranked.end());
        for (const PlayerIndex p : ranked) {
            figures[walking].Players.push_back(best[static_cast<std::size_t>(p)]);
            best[static_cast<std::size_t>(p)] = {};
        }
        ranked.clear();
    };
    Runs runs(store.Players.size());
    WalkOrder(
        store, order, sessionsInsideLogs, [&] { runs.StartAgain(); },
        [&](std::size_t log, const KillEvent& event) {
            if (log != walking) {
                close();
                walking = log;
            }
            runs.Kill(event, [&](PlayerIndex player, bool kills, std::int64_t length) {
                LogKillFigures::Player& mine = best[static_cast<std::size_t>(player)];
                if (mine.Index == 0) {
                    mine.Index = player;
                    ranked.push_back(player);
                }
                std::int64_t& value = kills ? mine.Kills : mine.Deaths;
                value = std::max(value, length);
            });
        });
    close();
    for (std::size_t log = 0; log < figures.size() && log < order.Known.size(); ++log) {
        figures[log].Known = order.Known[log];
        if (!sessionsInsideLogs || !order.Known[log])
            continue;
        for (const auto& [begin, end] : order.SessionsOf(log))
            for (std::size_t at = begin; at < end; ++at)
                if (const KillEvent& event = store.KillEvents[order.Entries[at]];
                    event.WeaponText != kEventTeamkill) {
                    figures[log].SessionFirstBloods.emplace_back(event.Killer, event.Victim);
                    break;
                }
    }
    return figures;
}

} // namespace

std::vector<LogKillFigures> KillFiguresOfLogs(const AnalysisStore& store,
                                              std::span<const std::size_t> killEntriesEnd,
                                              const KillOrder& order, bool sessionsInsideLogs) {
    return FiguresOfSpans(store, EntrySpans(store, killEntriesEnd), order, sessionsInsideLogs);
}

LogKillFigures KillFiguresOfLog(const AnalysisStore& store, std::size_t entriesBegin,
                                std::size_t entriesEnd, const KillOrder& order,
                                bool sessionsInsideLogs) {
    const std::vector<LogKillFigures> figures =
        FiguresOfSpans(store, {{entriesBegin, entriesEnd}}, order, sessionsInsideLogs);
    return figures.empty() ? LogKillFigures{} : figures.front();
}

std::vector<PlayerStreaks> StreaksOfFigures(std::span<const LogKillFigures> figures,
                                            std::size_t players) {
    std::vector<PlayerStreaks> longest(players);
    for (std::size_t log = 0; log < figures.size(); ++log)
        for (const LogKillFigures::Player& player : figures[log].Players) {
            if (static_cast<std::size_t>(player.Index) >= players)
                continue;
            PlayerStreaks& best = longest[static_cast<std::size_t>(player.Index)];
            if (player.Kills > best.Kills) {
                best.Kills = player.Kills;
                best.KillsLog = log;
            }
            if (player.Deaths > best.Deaths) {
                best.Deaths = player.Deaths;
                best.DeathsLog = log;
            }
        }
    return longest;
}

} // namespace qla
