// The chats a reader keeps between stores on both engines: a store filled with kept rows holds
// the chats a fresh reading holds after the logs grew, a player was erased, a log was read again
// or forgotten, and with a limit too small for them all; and kept rows are really used, until
// the database counts a rewrite.
#include "db/chat_rows_cache.h"
#include "db/statistics_rewrites.h"
#include "db/store_from_database.h"
#include "db/transaction.h"
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

namespace qla::dbtest {
namespace {

const std::string kDate = "logfile opened on Sun Jan 02 10:00:00 2005\n";

std::string Chat(const std::string& name, const std::string& text) {
    return "[skipnotify]" + name + "^7: ^2" + text + "\n";
}

// Every chat of the store, one line each: kind, speaker, team, place and text.
std::string ChatsOf(const AnalysisStore& store) {
    std::string all;
    for (const bool voice : {true, false})
        for (const ChatEntry& chat : RealEntries(voice ? store.VoiceChats : store.TextChats))
            all += std::string(voice ? "voice|" : "text|") +
                   store.Players[static_cast<std::size_t>(chat.Player)].Name + "|" +
                   (chat.IsTeam ? "team|" : "all|") + std::string(store.LocationOf(chat)) + "|" +
                   std::string(chat.Text.View()) + "\n";
    return all;
}

class ChatRowsCacheTest : public testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        database_ = NewDatabase(GetParam(), folder_);
        WriteFile(folder_.Path("a.log"), GeneratedLog(false, false, true, 3000, 71));
        WriteFile(folder_.Path("b.log"), kDate + GeneratedLog(false, false, true, 2000, 72) +
                                             Chat("Keeper", "first words"));
        ASSERT_EQ(Import({"a.log", "b.log"}).status, 0);
    }

    QlaRun Import(const std::vector<std::string>& files) {
        QStringList arguments{"import", "--db", database_};
        for (const std::string& file : files)
            arguments << folder_.QPath(file);
        return Qla(arguments);
    }

    // The chats of a store filled from the database, with `cache` or without one.
    std::string Chats(db::ChatRowsCache* cache) {
        AnalysisStore store;
        if (!FillStore(database_, store, {.KeptChats = cache}))
            return {};
        return ChatsOf(store);
    }

    // Runs SQL on the database outside qla (a test's own change of a stored row), with bytes
    // bound to its placeholders.
    void Sql(const std::string& statement, const std::vector<QByteArray>& bytes = {}) {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        QSqlQuery query(database->Connection());
        query.prepare(QString::fromStdString(statement));
        for (const QByteArray& value : bytes)
            query.addBindValue(value);
        ASSERT_TRUE(query.exec()) << statement;
    }

    TempFolder folder_;
    QString database_;
};

TEST_P(ChatRowsCacheTest, KeptRowsGiveTheChatsAFreshReadingGivesAsTheLogsChange) {
    db::ChatRowsCache cache;
    const std::string first = Chats(&cache);
    ASSERT_NE(first.find("first words"), std::string::npos);
    EXPECT_EQ(first, Chats(nullptr));
    EXPECT_GT(cache.Bytes(), 0u);

    // Grown: the new rows come after the kept ones, in the kinds and logs they belong to.
    AppendFile(folder_.Path("b.log"), Chat("Keeper", "more words") + Chat("Newcomer", "hello"));
    AppendFile(folder_.Path("a.log"), GeneratedLog(false, false, true, 500, 73));
    ASSERT_EQ(Import({"a.log", "b.log"}).status, 0);
    const std::string grown = Chats(&cache);
    EXPECT_EQ(grown, Chats(nullptr));
    EXPECT_NE(grown.find("text|Keeper|all|Unknown|more words\ntext|Newcomer|all|Unknown|hello\n"),
              std::string::npos);

    // Erased: every row is written again with the pseudonym, and read again.
    ASSERT_EQ(Qla({"erase-player", "--db", database_, "Keeper"}).status, 0);
    const std::string erased = Chats(&cache);
    EXPECT_EQ(erased, Chats(nullptr));
    EXPECT_EQ(erased.find("Keeper"), std::string::npos);

    // Read again in the other mode, and a log forgotten.
    ASSERT_EQ(Qla({"reanalyze", "--db", database_, "--recognition", "classic"}).status, 0);
    EXPECT_EQ(Chats(&cache), Chats(nullptr));
    ASSERT_EQ(Qla({"forget", "--db", database_, "2"}).status, 0);
    const std::string forgotten = Chats(&cache);
    EXPECT_EQ(forgotten, Chats(nullptr));
    EXPECT_EQ(forgotten.find("more words"), std::string::npos);
}

TEST_P(ChatRowsCacheTest, KeptRowsAreUsedUntilARewriteIsCounted) {
    db::ChatRowsCache cache;
    const std::string first = Chats(&cache);
    // A row changed behind qla's back is not seen while the count stays...
    Sql("UPDATE log_chats SET message = ? WHERE log_id = 2 AND kind = 1 AND seq = "
        "(SELECT MAX(seq) FROM log_chats WHERE log_id = 2 AND kind = 1)",
        {"changed words"});
    EXPECT_EQ(Chats(&cache), first);
    ASSERT_NE(Chats(nullptr).find("changed words"), std::string::npos);
    // ...and is once a rewrite is counted.
    {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        db::Transaction unit(*database, db::Transaction::Kind::Write, error);
        ASSERT_TRUE(unit.Open()) << error;
        const auto before = db::StatisticsRewrites(*database, error);
        ASSERT_TRUE(before) << error;
        ASSERT_TRUE(db::CountStatisticsRewrite(*database, error)) << error;
        EXPECT_EQ(db::StatisticsRewrites(*database, error), *before + 1);
        ASSERT_TRUE(unit.Commit(error)) << error;
    }
    EXPECT_NE(Chats(&cache).find("changed words"), std::string::npos);
    // A database without the count (made before it was kept) keeps nothing.
    Sql("DELETE FROM qla_meta WHERE name = 'statistics_rewrites'");
    Sql("UPDATE log_chats SET message = ? WHERE message = ?", {"other words", "changed words"});
    EXPECT_NE(Chats(&cache).find("other words"), std::string::npos);
    EXPECT_EQ(cache.Bytes(), 0u);
}

TEST_P(ChatRowsCacheTest, WhatDoesNotFitTheLimitIsReadEveryTime) {
    db::ChatRowsCache whole;
    Chats(&whole);
    const std::size_t half = whole.Bytes() / 2;
    db::ChatRowsCache cache(half);
    EXPECT_EQ(Chats(&cache), Chats(nullptr));
    EXPECT_GT(cache.Bytes(), 0u);
    EXPECT_LE(cache.Bytes(), half);
    AppendFile(folder_.Path("b.log"), Chat("Keeper", "more words"));
    AppendFile(folder_.Path("a.log"), GeneratedLog(false, false, true, 500, 73));
    ASSERT_EQ(Import({"a.log", "b.log"}).status, 0);
    for (int time = 0; time < 2; ++time) {
        EXPECT_EQ(Chats(&cache), Chats(nullptr));
        EXPECT_LE(cache.Bytes(), half);
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, ChatRowsCacheTest, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
