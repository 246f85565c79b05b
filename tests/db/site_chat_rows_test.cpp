// The site's chat archive read from a database's chat rows, one log at a time, writes the bytes
// it writes from chats read into the store first; a row it cannot read fails the site, on both
// engines.
#include "cut_name_lines.h"
#include "db_test_support.h"

#include "db/database_lines.h"
#include "db/stats_database.h"
#include "db/store_from_database.h"
#include "db/transaction.h"
#include "export/dashboard/dashboard_export.h"
#include "export/memory_sink.h"
#include "stats/statistics.h"

#include <gtest/gtest.h>

namespace qla::dbtest {
namespace {

class SiteChatRows : public testing::TestWithParam<Engine> {
  protected:
    // Three logs with chats of both kinds; the second says nothing.
    void SetUp() override {
        for (int k = 1; k <= 3; ++k) {
            std::string bytes = GeneratedLog(false, false, true, 300, 500 + k);
            if (k != 2)
                bytes += Chat("Ace", "gg <b>&") + Chat("^3Bob", "log " + std::to_string(k));
            else
                bytes = "[skipnotify]" + kLongName + " was killed by Ace's MP40\n";
            const std::string path = folder_.Path("log" + std::to_string(k) + ".log");
            WriteFile(path, bytes);
            const QlaRun run = Qla({"import", QString::fromStdString(path), "--db", database_});
            ASSERT_EQ(run.status, 0) << run.err;
        }
    }

    // The site's files, its chats read into the store (`streamed` false) or from the rows.
    std::map<std::string, std::string> Site(bool streamed, std::string& error) {
        const auto database = OpenForReading(database_);
        if (!database)
            return {};
        std::string opening;
        const db::Transaction unit(*database, db::Transaction::Kind::Read, opening);
        AnalysisStore store;
        const db::DatabaseStoreResult built = db::BuildStoreInTransaction(
            *database, {}, store,
            {.Chats = !streamed, .UnknownLines = true, .Renames = false, .KillOrder = true});
        EXPECT_TRUE(built.Ok) << built.Error;
        DashboardSettings settings;
        settings.FromDatabase = true;
        for (std::size_t i = 0; i < built.Logs.Ids.size(); ++i)
            settings.Logs.push_back({built.Logs.Ids[i], "log" + std::to_string(i + 1) + ".log",
                                     built.Logs.Dates[i].value_or(""),
                                     streamed ? 0 : built.Logs.VoiceChatsEnd[i],
                                     streamed ? 0 : built.Logs.TextChatsEnd[i]});
        const db::DatabaseLines lines(*database, built.Lines, [&store](std::string_view name) {
            return store.FindPlayer(name).value_or(0);
        });
        MemorySink sink;
        const ExportResult written =
            streamed ? WriteDashboardFiles(Statistics{store, lines}, settings, sink)
                     : WriteDashboardFiles(store, settings, sink);
        error = written.Error;
        return sink.Files();
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(SiteChatRows, TheArchiveStreamedLogByLogEqualsTheOneReadIntoTheStore) {
    std::string error;
    const auto held = Site(false, error);
    ASSERT_EQ(error, "");
    const auto streamed = Site(true, error);
    ASSERT_EQ(error, "");
    EXPECT_EQ(streamed.size(), held.size());
    for (const auto& [name, bytes] : held) {
        const auto other = streamed.find(name);
        ASSERT_NE(other, streamed.end()) << name;
        EXPECT_TRUE(other->second == bytes) << name << " differs";
    }
    // A page per log that spoke, none for the silent one, and the texts escaped.
    EXPECT_TRUE(streamed.contains("voice/log-1.html") || streamed.contains("text/log-1.html"));
    EXPECT_TRUE(streamed.contains("text/log-3.html"));
    EXPECT_FALSE(streamed.contains("text/log-2.html"));
    EXPECT_NE(streamed.at("text/log-3.html").find("gg &lt;b&gt;&amp;"), std::string::npos);
    EXPECT_NE(streamed.at("text.html").find(">0</tr>"), std::string::npos);
}

TEST_P(SiteChatRows, AChatRowNamingNoPlayerFailsTheSite) {
    RunSql(database_, {"UPDATE log_chats SET player = 999 WHERE log_id = 3"});
    std::string error;
    const auto streamed = Site(true, error);
    EXPECT_NE(error.find("is damaged: a chat of log 3 names no player"), std::string::npos)
        << error;
    EXPECT_FALSE(streamed.contains("text/log-3.html"));
}

// The first of the other lines, read without the rest, are the first the whole reading gives,
// across logs too.
TEST_P(SiteChatRows, TheFirstOtherLinesAreTheFirstOfAllOfThem) {
    const auto database = OpenForReading(database_);
    ASSERT_TRUE(database);
    std::string error;
    const db::Transaction unit(*database, db::Transaction::Kind::Read, error);
    AnalysisStore store;
    const db::DatabaseStoreResult built = db::BuildStoreInTransaction(
        *database, {}, store, {.Chats = false, .UnknownLines = false, .Renames = false});
    ASSERT_TRUE(built.Ok) << built.Error;
    const db::DatabaseLines lines(*database, built.Lines, [&store](std::string_view name) {
        return store.FindPlayer(name).value_or(0);
    });
    std::vector<std::string> all;
    ASSERT_TRUE(
        lines.ForEachUnknownLine([&](std::string_view line) { all.emplace_back(line); }, error));
    ASSERT_EQ(static_cast<std::int64_t>(all.size()), lines.UnknownLineCount());
    ASSERT_GT(all.size(), 10U);
    for (const std::size_t count : {std::size_t{1}, all.size() - 1, all.size(), all.size() + 5}) {
        std::vector<std::string> first{"left over"};
        ASSERT_TRUE(lines.FirstUnknownLines(count, first, error)) << error;
        EXPECT_EQ(first,
                  std::vector<std::string>(all.begin(), all.begin() + std::min(count, all.size())));
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, SiteChatRows, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
