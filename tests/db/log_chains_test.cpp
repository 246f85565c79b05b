// A log's chains as stored: reading them merges the same persons as reading the log's holdings,
// with the same counters, kills, chats and names found, on both engines; a log stored before
// chains were kept reads the same, and so does the database after an upgrade stores them; and a
// kill that would fall inside one record keeps the holdings apart.
#include "analysis/merge_players.h"
#include "db/log_chains.h"
#include "db/store_from_database.h"
#include "db_test_support.h"
#include "history.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

#include <algorithm>
#include <filesystem>
#include <map>
#include <tuple>

namespace qla::dbtest {
namespace {

// Everything a merged store tells of its players: names in order with their counters, the kills
// between each pair (teamkills apart), the chats' speakers, and the player each stored name
// finds.
std::string MergedPicture(AnalysisStore& store, const AliasList& aliases,
                          const std::vector<std::string>& storedNames) {
    const MergedNames merged = MergePlayers(store, aliases);
    std::string all = PlayersPicture(store);
    std::map<std::tuple<PlayerIndex, PlayerIndex, bool>, std::uint64_t> kills;
    for (std::size_t e = 1; e < store.KillEvents.size(); ++e) {
        const KillEvent& event = store.KillEvents[e];
        kills[{event.Killer, event.Victim, event.WeaponText == kEventTeamkill}] +=
            store.KillEventCount(e);
    }
    for (const auto& [pair, count] : kills)
        all += std::to_string(std::get<0>(pair)) + ">" + std::to_string(std::get<1>(pair)) +
               (std::get<2>(pair) ? " tk " : " ") + std::to_string(count) + "\n";
    for (const auto* chats : {&store.VoiceChats, &store.TextChats})
        for (const ChatEntry& chat : RealEntries(*chats))
            all += std::to_string(chat.Player) + ":" + std::string(chat.Text.View()) + "\n";
    for (const std::string& name : storedNames)
        all += name + " finds " + std::to_string(merged.Find(name).value_or(-1)) + "\n";
    return all;
}

class LogChainsTest : public testing::TestWithParam<Engine> {
  protected:
    void ImportHistory(std::uint64_t seed) {
        loggen::Options options;
        options.persons = 50;
        options.logs = 4;
        options.lines = 5000;
        options.seed = seed;
        options.outputFolder = folder_.Path("history");
        std::filesystem::create_directories(options.outputFolder);
        std::string error;
        ASSERT_TRUE(loggen::writeHistory(options, &error)) << error;
        QStringList arguments{"import", "--db", database_};
        for (int log = 1; log <= 4; ++log)
            arguments << QString::fromStdString(options.outputFolder + "/log0" +
                                                std::to_string(log) + ".log");
        const QlaRun imported = Qla(arguments);
        ASSERT_EQ(imported.status, 0) << imported.err;
    }

    // The merged store of every log, read by its chains or by its holdings.
    std::string Read(bool chains, const AliasList& aliases = {}) {
        AnalysisStore store;
        store.TracksHolders = true;
        if (!FillStore(database_, store, {.Chains = chains}))
            return {};
        EXPECT_EQ(store.HoldersChained, chains);
        std::vector<std::string> names; // each stored name once
        for (const PlayerIndex p : store.PlayerIndexes())
            if (const std::string& name = store.Players[static_cast<std::size_t>(p)].Name;
                std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
        if (chains) // fewer records than holdings
            chainRecords_ = store.PlayerCount();
        else
            holdingRecords_ = store.PlayerCount();
        return MergedPicture(store, aliases, names);
    }

    // Statements run on one connection (opening a database to write brings it up to date).
    void Sql(const std::vector<std::string>& statements) { RunSql(database_, statements); }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
    std::int32_t chainRecords_ = 0, holdingRecords_ = 0;
};

TEST_P(LogChainsTest, ReadingChainsMergesThePersonsOfReadingHoldings) {
    for (const std::uint64_t seed : {3, 8}) {
        SCOPED_TRACE(seed);
        ImportHistory(seed);
        const std::string holdings = Read(false);
        EXPECT_EQ(Read(true), holdings);
        EXPECT_LT(chainRecords_, holdingRecords_);
        // The user's joins apply to chains as to holdings (a split is read by holdings).
        AliasList aliases;
        ASSERT_EQ(aliases.Add("Player", "xXx"), "");
        EXPECT_EQ(Read(true, aliases), Read(false, aliases));
        EXPECT_NE(Read(true, aliases), holdings);
        database_ = NewDatabase(GetParam(), folder_);
    }
}

TEST_P(LogChainsTest, LogsStoredWithoutChainsReadTheSameAndAnUpgradeStoresThem) {
    ImportHistory(5);
    const std::string holdings = Read(false);
    const std::string players = Qla({"players", "--db", database_, "--merge-players"}).out;
    // As a database of the version before stores it: no chains.
    Sql({"DELETE FROM log_chains"});
    EXPECT_EQ(Read(true), holdings);
    Sql({"DROP TABLE log_chains",
         "UPDATE qla_meta SET value = '10' WHERE name = 'schema_version'"});
    EXPECT_EQ(Read(true), holdings);
    EXPECT_EQ(Qla({"players", "--db", database_, "--merge-players"}).out, players);

    ASSERT_EQ(Qla({"upgrade", "--db", database_}).status, 0);
    std::string error;
    auto database = db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadOnly, error);
    ASSERT_TRUE(database) << error;
    QSqlQuery query(database->Connection());
    ASSERT_TRUE(query.exec("SELECT COUNT(*) FROM log_chains") && query.next());
    EXPECT_EQ(query.value(0).toInt(), 4);
    database.reset();
    EXPECT_EQ(Read(true), holdings);
    EXPECT_EQ(Qla({"players", "--db", database_, "--merge-players"}).out, players);
}

std::string Killed(const std::string& victim) {
    return "[skipnotify]" + victim + "^7 was killed by Dummy^7's MP40\n";
}
std::string Renamed(const std::string& from, const std::string& to) {
    return "[skipnotify]" + from + "^7 renamed to " + to + "\n";
}
std::string Says(const std::string& name, const std::string& text) {
    return "[skipnotify]" + name + "^7: ^2" + text + "\n";
}
std::string Opened(int day) {
    return "logfile opened on Sun Jan 0" + std::to_string(day) + " 10:00:00 2005\n";
}

// Two ties that a record of several holdings must break as its holdings would, each read from
// the database as from one file of its logs.
TEST_P(LogChainsTest, ARecordOfSeveralHoldingsBreaksTiesAsItsHoldings) {
    // Eve plays Eve and Zed equally in her first evening, Eve last: Eve is her name there. So Eve
    // is the most played name of two of the three evenings that use it and joins them, and Zed
    // joins the other two: one player, shown as Zed, his most played name.
    const std::vector<std::string> evenings = {
        Opened(2) + Killed("Eve") + Renamed("Eve", "Zed") + Killed("Zed") + Killed("Zed") +
            Renamed("Zed", "Eve") + Killed("Eve"),
        Opened(3) + Killed("Zed") + Killed("Zed"),
        Opened(4) + Killed("Zed") + Killed("Zed"),
        Opened(5) + Killed("Eve") + Killed("Eve"),
        Opened(6) + Killed("Eve") + Renamed("Eve", "Kim") + Killed("Kim") + Killed("Kim") +
            Killed("Kim"),
        // Anna says a word as xXx twice, Bob three times, each more under his own name: each
        // holding counts once more, so the passing name finds Anna, the first of two on a tie.
        Opened(7) + Killed("Anna") + Killed("Anna") + Killed("Anna") + Renamed("Anna", "xXx") +
            Says("xXx", "hi") + Renamed("xXx", "Anna") + Renamed("Anna", "xXx") +
            Says("xXx", "again") + Renamed("xXx", "Anna") + Killed("Bob") + Killed("Bob") +
            Killed("Bob") + Killed("Bob") + Renamed("Bob", "xXx") + Says("xXx", "one") +
            Says("xXx", "two") + Says("xXx", "three") + Renamed("xXx", "Bob"),
    };
    std::string whole;
    QStringList import{"import", "--db", database_};
    for (std::size_t i = 0; i < evenings.size(); ++i) {
        const std::string name = "evening" + std::to_string(i) + ".log";
        WriteFile(folder_.Path(name), evenings[i]);
        import << folder_.QPath(name);
        whole += evenings[i];
    }
    ASSERT_EQ(Qla(import).status, 0);
    WriteFile(folder_.Path("whole.log"), whole);
    const QString file = folder_.QPath("whole.log");

    const QlaRun players =
        Qla(QStringList{"players", file, "--merge-players"} << kNewDatabaseReading);
    EXPECT_EQ(players.out, "Zed\nDummy\nAnna\nBob\n");
    EXPECT_EQ(Qla({"players", "--db", database_, "--merge-players"}).out, players.out);
    for (const QString name : {"xXx", "Zed", "Kim"}) {
        const QlaRun one =
            Qla(QStringList{"player", file, name, "--merge-players"} << kNewDatabaseReading);
        ASSERT_EQ(one.status, 0) << one.err;
        EXPECT_EQ(Qla({"player", "--db", database_, name, "--merge-players"}).out, one.out);
        EXPECT_NE(one.out.find(name == "xXx" ? "Player: Anna\n" : "Player: Zed\n"),
                  std::string::npos)
            << one.out;
    }
}

TEST_P(LogChainsTest, ChainsThatCannotBeReadOrDisagreeWithTheLinesAreNamed) {
    ImportHistory(4);
    ASSERT_EQ(Qla({"check", "--db", database_}).status, 0);
    // Cut short: merging says which log is damaged; check finds it.
    Sql({GetParam() == Engine::SQLite
             ? "UPDATE log_chains SET chains = substr(chains, 1, 40) WHERE log_id = 2"
             : "UPDATE log_chains SET chains = substring(chains from 1 for 40) WHERE log_id = 2"});
    // (A choice of logs: the whole history's persons are kept merged, kept_persons_test.cpp.)
    const QlaRun merged = Qla({"players", "--db", database_, "--log", "2", "--merge-players"});
    EXPECT_EQ(merged.status, 1);
    EXPECT_NE(merged.err.find("is damaged: the chains of log 2 cannot be read"), std::string::npos)
        << merged.err;
    EXPECT_EQ(Qla({"players", "--db", database_}).status, 0); // unmerged reads need none
    EXPECT_EQ(Qla({"check", "--db", database_}).status, 1);
    // Another log's chains in their place: not the log's.
    Sql({"DELETE FROM log_chains WHERE log_id = 2",
         "INSERT INTO log_chains (log_id, chains, chats) SELECT 2, chains, chats FROM log_chains "
         "WHERE log_id = 3"});
    const QlaRun check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE((check.out + check.err).find("log 2"), std::string::npos) << check.out << check.err;
}

INSTANTIATE_TEST_SUITE_P(Engines, LogChainsTest, kEngines,
                         [](const testing::TestParamInfo<Engine>& info) {
                             return EngineName(info.param);
                         });

// A holder who renames away from a name and back: one record for the name, standing for both
// holdings; unless a kill falls between the two, which then stay two records of one chain.
db::LogDigest RenamedAwayAndBack(bool killBetween) {
    db::LogDigest digest;
    digest.HasHoldings = true;
    for (const char* name : {"Anna", "xXx", "Bert"})
        digest.Players.emplace_back().Name = name;
    const auto holding = [&](std::uint32_t name, std::int32_t from, std::uint64_t first,
                             std::uint64_t last) {
        db::DigestHolding h;
        h.Name = name;
        h.Holding.From = from;
        h.Holding.FirstLine = first;
        h.Holding.LastLine = last;
        h.Holding.Ended = from == 0 || name == 1;
        h.Counters.Kills[kWeaponTotal] = 1;
        digest.Holdings.push_back(h);
    };
    holding(0, 0, 1, 10);  // Anna, renamed away to xXx at line 10
    holding(1, 1, 11, 20); // xXx, renamed back at line 20
    holding(0, 2, 21, 30); // Anna again
    holding(2, 0, 5, 30);  // Bert, her victim
    digest.Renames = {{"Anna", "xXx"}, {"xXx", "Anna"}};
    digest.RenameHoldings = {{1, 10}, {2, 20}};
    digest.HoldingPairs.push_back({0, 3, 1, 2, 1});
    digest.HoldingPairs.push_back({2, 3, 1, 3, 5});
    if (killBetween)
        digest.HoldingPairs.push_back({0, 2, 1, 1, 7});
    return digest;
}

TEST(LogChains, ANameHeldTwiceInAChainIsOneRecordUnlessAKillFallsBetween) {
    const db::LogChains folded = db::ChainsOfDigest(RenamedAwayAndBack(false));
    ASSERT_EQ(folded.Records.size(), 3u); // Anna (twice), xXx, Bert
    EXPECT_EQ(folded.Records[0].Holding.Held, 2u);
    EXPECT_EQ(folded.Records[0].Holding.Latest, 3u); // the second Anna
    EXPECT_EQ(folded.Records[0].Counters.Kills[kWeaponTotal], 2);
    EXPECT_EQ(folded.Records[1].Holding.From, 1); // xXx continues Anna's chain
    EXPECT_EQ(folded.Records[2].Holding.From, 0); // Bert is his own
    ASSERT_EQ(folded.Pairs.size(), 1u);           // both Annas' kills of Bert
    EXPECT_EQ(folded.Pairs[0].Count, 5u);
    EXPECT_EQ(folded.Pairs[0].FirstEvent, 1u);
    EXPECT_EQ(folded.Renames.size(), 2u);

    const db::LogChains apart = db::ChainsOfDigest(RenamedAwayAndBack(true));
    ASSERT_EQ(apart.Records.size(), 4u);
    EXPECT_EQ(apart.Records[2].Holding.From, 1); // the second Anna, in the first one's chain
    EXPECT_EQ(apart.Pairs.size(), 3u);

    // The stored bytes give the chains back; cut or changed bytes are refused.
    db::LogChains withChat = folded;
    withChat.ChatRecords.push_back({true, 4, 1});
    withChat.ChatRecords.push_back({false, 9, 2});
    withChat.ChatRecords.push_back({true, 2, 0}); // a row before the last of its kind
    const std::string bytes = db::EncodeChains(withChat);
    auto decoded = db::DecodeChains(bytes, 3);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(db::EncodeChains(*decoded), bytes);
    ASSERT_TRUE(db::DecodeChainChats(db::EncodeChainChats(withChat), *decoded));
    EXPECT_EQ(db::EncodeChainChats(*decoded), db::EncodeChainChats(withChat));
    ASSERT_EQ(decoded->ChatRecords.size(), 3u);
    EXPECT_EQ(decoded->ChatRecords[2].Seq, 2u);
    EXPECT_TRUE(decoded->ChatRecords[2].Voice);
    EXPECT_EQ(decoded->ChatRecords[1].Seq, 9u);
    withChat.ChatRecords[0].Holding = 3; // past the records
    EXPECT_FALSE(db::DecodeChainChats(db::EncodeChainChats(withChat), *decoded));
    EXPECT_FALSE(db::DecodeChains(bytes.substr(0, bytes.size() - 1), 3));
    EXPECT_FALSE(db::DecodeChains(bytes, 2)); // a name past the digest's
    EXPECT_FALSE(db::DecodeChains("\x02" + bytes.substr(1), 3));
}

} // namespace
} // namespace qla::dbtest
