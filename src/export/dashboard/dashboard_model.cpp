// Counting for the statistics site.
#include "export/dashboard/dashboard_model.h"
#include "export/dashboard/history_boards.h"

#include "analysis/merge_players.h"
#include "core/weapons.h"
#include "stats/detail_tables.h"
#include "stats/opponent_rows.h"
#include "stats/row_of_player.h"
#include "stats/skill_rating.h"
#include "stats/sort_table.h"
#include "stats/whole_division.h"

#include <algorithm>
#include <unordered_map>

namespace qla {
namespace {

std::vector<PlayerIndex> TopOf(const DashboardModel& model, std::size_t size, auto eligible,
                               auto before) {
    std::vector<PlayerIndex> all;
    for (const PlayerSummary& p : model.Players)
        if (eligible(p))
            all.push_back(p.Index);
    const std::size_t n = std::min(size, all.size());
    // Ties keep the order of appearance: the index decides last.
    std::partial_sort(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(n), all.end(),
                      [&](PlayerIndex a, PlayerIndex b) {
                          const PlayerSummary& x = model.Of(a);
                          const PlayerSummary& y = model.Of(b);
                          if (before(x, y))
                              return true;
                          if (before(y, x))
                              return false;
                          return a < b;
                      });
    all.resize(n);
    return all;
}

std::vector<WeaponSummary> SummariseWeapons(const AnalysisStore& store) {
    std::vector<WeaponSummary> weapons(kWeaponUnknown);
    std::int64_t all = 0;
    for (int w = 1; w <= kWeaponUnknown; ++w)
        weapons[static_cast<std::size_t>(w) - 1].Weapon = w;
    for (PlayerIndex p = 1; p <= store.PlayerCount(); ++p) {
        const PlayerRecord& player = store.Players[p];
        for (int w = 1; w <= kWeaponUnknown; ++w) {
            WeaponSummary& weapon = weapons[static_cast<std::size_t>(w) - 1];
            weapon.Kills += player.Kills[w];
            all += player.Kills[w];
            // Strictly more wins, so a tie goes to the player who appeared first.
            if (player.Kills[w] > weapon.BestKills) {
                weapon.BestKills = player.Kills[w];
                weapon.Best = p;
            }
            if (player.Deaths[w] > weapon.WorstDeaths) {
                weapon.WorstDeaths = player.Deaths[w];
                weapon.Worst = p;
            }
        }
    }
    for (WeaponSummary& weapon : weapons)
        weapon.SharePercent = all == 0 ? 0 : DivideRoundHalfEven(weapon.Kills * 100, all);
    return weapons;
}

} // namespace

ParseCoverage CoverageOf(const AnalysisStore& store, const AnalysisTotals& totals) {
    ParseCoverage coverage;
    coverage.ByKind = totals.ByKind;
    coverage.Lines = totals.Total;
    // Entry 0 of the unknown lines is the store's placeholder.
    const std::size_t others = store.UnknownLines.empty() ? 0 : store.UnknownLines.size() - 1;
    coverage.UnknownLines = static_cast<std::int64_t>(others);
    for (std::size_t i = 1; i <= others && coverage.UnknownLineSamples.size() < kUnknownLineSamples;
         ++i)
        coverage.UnknownLineSamples.emplace_back(store.UnknownLines[i]);
    return coverage;
}

bool SampleUnknownLines(const LineSource& lines, ParseCoverage& coverage, std::string& error) {
    coverage.UnknownLines = lines.UnknownLineCount();
    return lines.FirstUnknownLines(kUnknownLineSamples, coverage.UnknownLineSamples, error);
}

std::int64_t MinLinesForPage(const DashboardSettings& settings, std::size_t players) {
    if (settings.MinLinesForPage)
        return *settings.MinLinesForPage;
    return players <= kPagesForEveryPlayerUpTo ? 0 : kDefaultMinLinesForPage;
}

DashboardModel BuildDashboardModel(const AnalysisStore& store, const DashboardSettings& settings) {
    DashboardModel model;
    const std::vector<std::int64_t> lines = RecordedLinesPerPlayer(store);
    const std::int64_t minLines =
        MinLinesForPage(settings, static_cast<std::size_t>(store.PlayerCount()));
    model.Totals = settings.Totals;
    model.Coverage = CoverageOf(store, settings.Totals);
    model.Players.reserve(static_cast<std::size_t>(store.PlayerCount()));
    const std::vector<SkillRating> fit = FitSkill(EncountersOf(store));
    const std::vector<char> passing = PassingPlayers(store); // empty when none is known
    for (PlayerIndex p = 1; p <= store.PlayerCount(); ++p) {
        const PlayerRecord& r = store.Players[p];
        PlayerSummary s;
        s.Index = p;
        s.Kills = r.Kills[0];
        s.Deaths = r.Deaths[0];
        s.RatioHundredths = KillDeathRatio(r.Kills[0], r.Deaths[0]);
        s.Teamkills = r.Teamkills;
        for (int cause = kFirstSuicideCause; cause <= kLastSuicideCause; ++cause)
            s.Suicides += r.Deaths[cause];
        s.VoiceChats = r.VoiceChatCount;
        s.TextChats = r.TextChatCount;
        s.Lines = lines[static_cast<std::size_t>(p)];
        s.OwnPage = s.Lines >= minLines;
        if (const auto at = static_cast<std::size_t>(p - 1); at < fit.size()) {
            const RatingShown shown = ShownRating(fit[at]);
            s.Rating = shown.Rating;
            s.RatingUncertainty = shown.Uncertainty;
            s.Encounters = shown.Encounters;
            s.Conservative = fit[at].Conservative();
        }
        s.Unrated = !passing.empty() && passing[static_cast<std::size_t>(p)] != 0;
        model.Players.push_back(s);
    }
    model.Fit = fit;
    const auto size = static_cast<std::size_t>(std::max(0, settings.TopListSize));
    model.MostKills = TopOf(
        model, size, [](const PlayerSummary& p) { return p.Kills > 0; },
        [](const PlayerSummary& a, const PlayerSummary& b) { return a.Kills > b.Kills; });
    model.BestRatio = TopOf(
        model, size,
        [&](const PlayerSummary& p) {
            return p.Kills >= settings.MinKills && p.Deaths >= settings.MinDeaths;
        },
        [](const PlayerSummary& a, const PlayerSummary& b) {
            return a.RatioHundredths > b.RatioHundredths;
        });
    model.BestRated = TopOf(
        model, size, [](const PlayerSummary& p) { return p.Encounters >= kBoardEncounters; },
        [](const PlayerSummary& a, const PlayerSummary& b) {
            return a.Conservative > b.Conservative;
        });
    model.MostTeamkills = TopOf(
        model, size, [](const PlayerSummary& p) { return p.Teamkills > 0; },
        [](const PlayerSummary& a, const PlayerSummary& b) { return a.Teamkills > b.Teamkills; });
    model.Weapons = SummariseWeapons(store);
    if (!settings.History.empty()) {
        std::unordered_map<std::string_view, const PlayerHistory*> byName;
        for (const PlayerHistory& history : settings.History)
            byName.emplace(history.Name, &history);
        model.Histories.reserve(model.Players.size());
        for (PlayerIndex p = 1; p <= store.PlayerCount(); ++p) {
            const auto found = byName.find(store.Players[p].Name);
            model.Histories.push_back(found == byName.end() ? nullptr : found->second);
        }
        model.ServerBoards = ServerBoardsOf(model.Histories, size);
        model.WeekBoard = LatestPeriodBoard(model.Histories, AwardPeriodKind::Week, size);
        model.MonthBoard = LatestPeriodBoard(model.Histories, AwardPeriodKind::Month, size);
    }
    return model;
}

std::vector<OpponentSummary> OpponentsOf(const AnalysisStore& store, const KillEventIndex& events,
                                         PlayerIndex player) {
    const PlayerEventRows counted = CountPlayerEvents(store, events, player);
    const auto& kills = counted.Sections[0];
    const auto& deaths = counted.Sections[1];
    std::vector<OpponentSummary> rows;
    RowOfPlayer rowOf(kills.size() + deaths.size());
    for (const OpponentRow& row : kills) {
        const auto [at, added] = rowOf.FindOrAdd(row.Opponent, rows.size());
        if (added)
            rows.push_back({row.Opponent, 0, 0});
        rows[at].Kills += row.Count;
    }
    for (const OpponentRow& row : deaths) {
        const auto [at, added] = rowOf.FindOrAdd(row.Opponent, rows.size());
        if (added)
            rows.push_back({row.Opponent, 0, 0});
        rows[at].Deaths += row.Count;
    }
    return rows;
}

namespace {

PlayerIndex MostBy(const std::vector<OpponentSummary>& opponents,
                   std::int64_t OpponentSummary::*count) {
    PlayerIndex best = 0;
    std::int64_t most = 0;
    for (const OpponentSummary& row : opponents)
        if (row.*count > most) {
            most = row.*count;
            best = row.Opponent;
        }
    return best;
}

} // namespace

PlayerIndex Nemesis(const std::vector<OpponentSummary>& opponents) {
    return MostBy(opponents, &OpponentSummary::Deaths);
}

PlayerIndex FavouriteVictim(const std::vector<OpponentSummary>& opponents) {
    return MostBy(opponents, &OpponentSummary::Kills);
}

} // namespace qla
