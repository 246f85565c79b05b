// What the statistics site and its JSON show, counted once from the store: per-player summaries,
// the top lists, the weapons with their best and worst players, and the parse coverage.
#pragma once

#include "analysis/analysis.h"
#include "core/store.h"
#include "export/dashboard/log_period.h"
#include "export/export_types.h"
#include "stats/player_history.h"
#include "stats/skill_rating.h"
#include "stats/statistics.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

// Players seen in fewer lines than this get a row in the player list instead of a page of their
// own, once a site has more than kPagesForEveryPlayerUpTo players; up to that, everyone has a page.
inline constexpr std::int64_t kDefaultMinLinesForPage = 5;
inline constexpr std::size_t kPagesForEveryPlayerUpTo = 1000;

// The kills either way a player needs to be on the site's skill board, as qla ratings' default.
inline constexpr std::int64_t kBoardEncounters = 50;

// One log of the site's chat archive and where its messages are in the store's chat lists.
struct SiteLog {
    std::int64_t Id = 1; // the statistics database's log id; 1 for a log file
    std::string Name;    // its file's name
    std::string Date;    // "YYYY-MM-DD HH:MM:SS" (or a log file's date header); empty: none
    // Just past its last message in the store's VoiceChats and TextChats (entry 0 is unused);
    // 0 when its chats are not in the store.
    std::size_t VoiceChatsEnd = 0, TextChatsEnd = 0;
};

struct DashboardSettings {
    std::string GameTitle;
    std::string SourceName; // the log's file name or the database's, shown on the overview
    bool FromDatabase = false;
    std::string LogDate; // the log's "opened on" date, empty when it has none
    // The export options' thresholds: who may enter the best kill/death list.
    std::int64_t MinKills = 5;
    std::int64_t MinDeaths = 5;
    int TopListSize = 10;
    // The analysis run's totals with its lines by kind: the overview and the parse coverage.
    AnalysisTotals Totals;
    std::int64_t LogCount = 1;
    std::optional<std::int64_t> HeldBackBytes; // a database's bytes past the last whole line
    // With a database: each player's figures per log (matched by the name as stored), in date
    // order, and the period the logs cover.
    std::vector<PlayerHistory> History;
    LogPeriod Period;
    std::string MadeOn; // "YYYY-MM-DDTHH:MM:SSZ"; empty: the overview does not say
    // With a database: its selected logs in the order the store filed them, for the chat
    // archive; empty: one log holding all the store's messages (SourceName, LogDate).
    std::vector<SiteLog> Logs;
    // Players named in fewer lines (RecordedLinesPerPlayer) have no page of their own; unset: the
    // default above.
    std::optional<std::int64_t> MinLinesForPage;
    std::size_t FilesPerFolder = 1000; // at most, in any folder of the site
    LineProgress Progress;             // (player pages done, player pages)
};

struct PlayerSummary {
    PlayerIndex Index = 0;
    std::int64_t Kills = 0, Deaths = 0, RatioHundredths = 0, Teamkills = 0, Suicides = 0,
                 VoiceChats = 0, TextChats = 0;
    std::int64_t Lines = 0; // the lines that name him
    bool OwnPage = true;    // else his row in the player list stands for his page
    // The skill rating fitted to the kills between players (qla ratings), in whole points, its
    // uncertainty and the kills either way it rests on.
    std::int64_t Rating = 0, RatingUncertainty = 0, Encounters = 0;
    double Conservative = 0; // what the board ranks by (SkillRating::Conservative)
    bool Unrated = false;    // a name many people pass through (PassesThrough): no rating
};

struct WeaponSummary {
    int Weapon = 0; // WeaponId 1-15
    std::int64_t Kills = 0, SharePercent = 0;
    PlayerIndex Best = 0, Worst = 0; // most kills with it, most deaths by it; 0: nobody
    std::int64_t BestKills = 0, WorstDeaths = 0;
};

struct ParseCoverage {
    std::array<std::int64_t, kLineKindCount> ByKind{};
    std::int64_t Lines = 0;
    std::int64_t UnknownLines = 0;               // lines that no statistic counts
    std::vector<std::string> UnknownLineSamples; // the first of them
};

// The players with the most kills in some of the logs (one server's, one week's), best first.
struct KillBoard {
    std::string Name; // the server, or the period ("2026-W50", "2026-12")
    std::vector<std::pair<PlayerIndex, std::int64_t>> MostKills;
};

struct DashboardModel {
    AnalysisTotals Totals;
    std::vector<PlayerSummary> Players; // Players[i - 1] is store player i
    std::vector<PlayerIndex> MostKills, BestRatio, MostTeamkills;
    // The skill board's top: by the conservative rating, with kBoardEncounters kills either way.
    std::vector<PlayerIndex> BestRated;
    std::vector<SkillRating> Fit; // the skill fit: Fit[i - 1] is store player i's
    std::vector<WeaponSummary> Weapons;
    ParseCoverage Coverage;
    // Histories[i - 1] is store player i's history from the settings; nullptr without one.
    std::vector<const PlayerHistory*> Histories;
    // From the histories of logs of two servers or more: each server's most kills, by name; and
    // the most kills of the newest log's week and month, when the logs reach beyond them.
    std::vector<KillBoard> ServerBoards;
    std::optional<KillBoard> WeekBoard, MonthBoard;

    const PlayerSummary& Of(PlayerIndex player) const {
        return Players[static_cast<std::size_t>(player) - 1];
    }
    const PlayerHistory* HistoryOf(PlayerIndex player) const {
        return Histories.empty() ? nullptr : Histories[static_cast<std::size_t>(player) - 1];
    }
};

inline constexpr std::size_t kUnknownLineSamples = 200;

// The fewest lines that give a player a page of his own, for a store of `players` players.
std::int64_t MinLinesForPage(const DashboardSettings& settings, std::size_t players);

// The model points into `settings` (the histories), which must outlive it.
DashboardModel BuildDashboardModel(const AnalysisStore& store, const DashboardSettings& settings);

// The run's lines by kind and the first lines the run kept as unknown lines.
ParseCoverage CoverageOf(const AnalysisStore& store, const AnalysisTotals& totals);
// The count and the first of the other lines as `lines` gives them, which a database streams
// rather than holding them in the store; false with `error` when they cannot be read.
bool SampleUnknownLines(const LineSource& lines, ParseCoverage& coverage, std::string& error);

// A player's opponents: kills of and deaths by each, teamkills left out.
struct OpponentSummary {
    PlayerIndex Opponent = 0;
    std::int64_t Kills = 0, Deaths = 0;
};
class KillEventIndex;
std::vector<OpponentSummary> OpponentsOf(const AnalysisStore& store, const KillEventIndex& events,
                                         PlayerIndex player);
// The opponent with the most deaths caused (nemesis) or the most kills taken (favourite victim);
// the first in event order wins a tie; 0 when there is none.
PlayerIndex Nemesis(const std::vector<OpponentSummary>& opponents);
PlayerIndex FavouriteVictim(const std::vector<OpponentSummary>& opponents);

} // namespace qla
