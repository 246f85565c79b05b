// The rows a front end streams beside a store it read from a database earlier: they come only
// while the database still holds that selection, each speaker filed as the store holds him, and
// the store never holds them.
#include "db_test_support.h"
#include "front/streamed_lines.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qla::dbtest {
namespace {

class StreamedLinesBeside : public testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        database_ = NewDatabase(GetParam(), folder_);
        for (const int seed : {71, 72}) {
            const std::string name = "log" + std::to_string(seed) + ".log";
            WriteFile(folder_.Path(name), GeneratedLog(false, false, true, 2000, seed));
            const QlaRun imported = Qla({"import", folder_.QPath(name), "--db", database_});
            ASSERT_EQ(imported.status, 0) << imported.err;
        }
    }

    // The selection read as the window reads it, without its texts.
    db::LoadedStore Read(const db::LogSelection& selection) {
        std::ostringstream err;
        store_ = AnalysisStore();
        auto loaded = db::LoadFromDatabase({database_.toStdString(), selection}, store_, err,
                                           db::StoreParts{false, false, false, false});
        EXPECT_TRUE(loaded) << err.str();
        return loaded.value_or(db::LoadedStore{});
    }

    // Nullopt on failure; null when the rows cannot stand beside the store.
    std::optional<std::unique_ptr<front::StreamedLines>> Open(const db::LogSelection& selection,
                                                              const db::LoadedStore& read) {
        std::ostringstream err;
        auto streamed = front::StreamedLines::Open(
            {database_.toStdString(), selection}, read,
            [this](std::string_view name) { return front::FiledUnder(store_, nullptr, {}, name); },
            err);
        EXPECT_TRUE(streamed) << err.str();
        return streamed;
    }

    TempFolder folder_;
    QString database_;
    AnalysisStore store_;
};

TEST_P(StreamedLinesBeside, StreamOnlyWhileTheDatabaseHoldsTheSelectionRead) {
    const db::LoadedStore all = Read({});
    ASSERT_EQ(store_.VoiceChats.size(), 1u); // the store holds no chat
    {
        auto streamed = Open({}, all);
        ASSERT_TRUE(streamed && *streamed);
        std::int64_t voice = 0, filed = 0;
        std::string error;
        ASSERT_TRUE((*streamed)->Lines().ForEachChat(
            true,
            [&](const ChatLine& chat) {
                ++voice;
                filed += chat.Player > 0 ? 1 : 0;
            },
            error))
            << error;
        EXPECT_EQ(voice, all.Totals.VoiceChats);
        EXPECT_GT(voice, 0);
        EXPECT_EQ(filed, voice); // every speaker a player of the store
        EXPECT_EQ((*streamed)->Lines().UnknownLineCount(), all.Totals.Unknown);
    }
    const db::LoadedStore first = Read(db::LogsWithIds({1}));

    // Another log comes: the whole history read before no longer stands, the first log alone
    // still does.
    WriteFile(folder_.Path("later.log"), GeneratedLog(false, false, true, 2000, 73));
    ASSERT_EQ(Qla({"import", folder_.QPath("later.log"), "--db", database_}).status, 0);
    auto stale = Open({}, all);
    ASSERT_TRUE(stale);
    EXPECT_FALSE(*stale);
    Read(db::LogsWithIds({1}));
    {
        // (Its read transaction ends with it: a writer of an SQLite file waits for readers.)
        auto still = Open(db::LogsWithIds({1}), first);
        ASSERT_TRUE(still);
        EXPECT_TRUE(*still);
    }

    // A player hidden since: the lines that name him must be hidden too, so the store is read
    // again first.
    const std::string someone = store_.Players[1].Name;
    ASSERT_EQ(Qla({"hide", "--db", database_, QString::fromStdString(someone)}).status, 0);
    auto hidden = Open(db::LogsWithIds({1}), first);
    ASSERT_TRUE(hidden);
    EXPECT_FALSE(*hidden);
}

INSTANTIATE_TEST_SUITE_P(Engines, StreamedLinesBeside, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
