// Each log's streaks kept from one reading to the next give what reading its order gives: for
// the logs as they were, after a log grows, after a log is read again and after one is
// forgotten, on both engines.
#include "cut_name_lines.h"
#include "db_test_support.h"

#include "db/kill_figures_cache.h"
#include "db/statistics_rewrites.h"
#include "db/stats_database.h"
#include "db/store_from_database.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qla::dbtest {
namespace {

class KillFiguresCacheTest : public testing::TestWithParam<Engine> {
  protected:
    std::string LogPath(int k) const { return folder_.Path("log" + std::to_string(k) + ".log"); }

    void Import(int k) {
        const QlaRun run = Qla({"import", QString::fromStdString(LogPath(k)), "--db", database_});
        ASSERT_EQ(run.status, 0) << run.err;
    }

    // Every log's figures by name, read with `cache` (or without one) and how many logs the
    // reading found kept before it.
    std::string Figures(db::KillFiguresCache* cache, int* keptBefore = nullptr) {
        const auto database = OpenForReading(database_);
        if (!database)
            return {};
        std::string error;
        if (keptBefore) {
            // As the reading first does: figures of an older count of rewrites are dropped.
            cache->Validate(db::StatisticsRewrites(*database, error));
            const auto logs = db::ListLogs(*database, error);
            *keptBefore = 0;
            for (const db::LogEntry& log : logs.value_or(std::vector<db::LogEntry>()))
                *keptBefore += cache->Holds(log) ? 1 : 0;
        }
        AnalysisStore store;
        const db::DatabaseStoreResult built =
            db::BuildStoreFromDatabase(*database, {}, store,
                                       {.Chats = false,
                                        .UnknownLines = false,
                                        .Renames = false,
                                        .KillOrder = true,
                                        .KillFiguresOnly = true,
                                        .KeptKillFigures = cache});
        EXPECT_TRUE(built.Ok) << built.Error;
        EXPECT_EQ(built.Logs.KillFigures.size(), built.Logs.Ids.size());
        std::ostringstream text;
        for (std::size_t l = 0; l < built.Logs.KillFigures.size(); ++l) {
            const LogKillFigures& log = built.Logs.KillFigures[l];
            text << "log " << built.Logs.Ids[l] << (log.Known ? "" : " unknown") << ": first blood "
                 << store.Players[static_cast<std::size_t>(log.FirstBloodKiller)].Name << " on "
                 << store.Players[static_cast<std::size_t>(log.FirstBloodVictim)].Name << "\n";
            for (const LogKillFigures::Player& player : log.Players)
                text << "  " << store.Players[static_cast<std::size_t>(player.Index)].Name << " "
                     << player.Kills << "/" << player.Deaths << "\n";
        }
        return text.str();
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(KillFiguresCacheTest, KeptFiguresAreThoseOfTheOrderAsTheLogsChange) {
    for (int k = 1; k <= 3; ++k) {
        WriteFile(LogPath(k), GeneratedLog(false, false, true, 400, 700 + k));
        Import(k);
    }
    db::KillFiguresCache cache;
    int kept = -1;
    const std::string first = Figures(&cache, &kept);
    EXPECT_EQ(kept, 0);
    ASSERT_NE(first.find("  "), std::string::npos) << "no streaks at all:\n" << first;
    EXPECT_EQ(Figures(&cache, &kept), first);
    EXPECT_EQ(kept, 3);
    EXPECT_EQ(Figures(nullptr), first);

    // A log that grows is read again; the others stay kept.
    AppendFile(LogPath(2), Kill("Ace", "Bob") + Kill("Carl", "Bob") + Kill("Dan", "Bob"));
    Import(2);
    const std::string grown = Figures(nullptr);
    EXPECT_NE(grown, first);
    EXPECT_NE(grown.find("  Bob 3/"), std::string::npos) << grown;
    EXPECT_EQ(Figures(&cache, &kept), grown);
    EXPECT_EQ(kept, 2);

    // A log read again counts as a rewrite: nothing kept is trusted.
    ASSERT_EQ(Qla({"reanalyze", "--db", database_, "--log", "1"}).status, 0);
    EXPECT_EQ(Figures(&cache, &kept), grown);
    EXPECT_EQ(kept, 0);
    // A forgotten log's figures go with it (log ids are never reused); the others stay.
    ASSERT_EQ(Qla({"forget", "--db", database_, "3"}).status, 0);
    const std::string forgotten = Figures(nullptr);
    EXPECT_EQ(Figures(&cache, &kept), forgotten);
    EXPECT_EQ(kept, 2);
    EXPECT_EQ(forgotten.find("log 3"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Engines, KillFiguresCacheTest, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
