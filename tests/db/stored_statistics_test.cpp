// The statistics a database stores at import answer as reading the logs' lines one after the
// other would: across logs and across the pieces of a growing log, where a name the game cut in
// obituary lines stands for a whole name met earlier, and after an upgrade.
#include "cut_name_lines.h"
#include "db_test_support.h"

#include "db/digest_packing.h"
#include "db/stats_database.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

namespace qla::dbtest {
namespace {

const std::string kDate = "logfile opened on Sun Jan 02 10:00:00 2005\n";

class StoredStatistics : public testing::TestWithParam<Engine> {
  protected:
    QlaRun Import(const std::string& path) {
        return Qla({"import", QString::fromStdString(path), "--db", database_});
    }
    // What a reading of `source` shows: totals, players, a player's page and every kill table.
    std::string Reading(const QStringList& source) {
        const std::string all = CountsReading(source, kLongName);
        const std::string output = folder_.Path("details.txt");
        const QlaRun run =
            Qla(QStringList{"export"} << source << "--view"
                                      << "player"
                                      << "--format"
                                      << "text"
                                      << "--player" << QString::fromStdString(kLongName)
                                      << "--output" << QString::fromStdString(output));
        EXPECT_EQ(run.status, 0) << run.err;
        return all + "### details\n" + ReadFile(output);
    }
    std::string ReadingOfLog(const std::string& bytes) {
        const std::string whole = folder_.Path("whole.log");
        WriteFile(whole, bytes);
        return Reading(QStringList{QString::fromStdString(whole)} << kNewDatabaseReading);
    }
    std::string ReadingOfDatabase(const QStringList& selection = {}) {
        return Reading(QStringList{"--db", database_} << selection);
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(StoredStatistics, CutNamesOfALaterLogStandForTheWholeNameOfAnEarlierOne) {
    const std::string first = kDate + Chat(kLongName, "hi") + Kill("Ace", kLongName);
    // The later log meets the long name only cut, in obituaries, and chats as it last.
    const std::string second = kDate + Kill(kCutName, "Ace") + Kill("Bob", kCutName) +
                               Kill(kCutName, "Bob") + Chat(kLongName, "gg");
    WriteFile(folder_.Path("a.log"), first);
    WriteFile(folder_.Path("b.log"), second);
    ASSERT_EQ(Import(folder_.Path("a.log")).status, 0);
    ASSERT_EQ(Import(folder_.Path("b.log")).status, 0);

    const std::string together = ReadingOfDatabase();
    EXPECT_EQ(together, ReadingOfLog(first + second));
    // The whole name has the later log's kill and deaths: the cut name is no player of its own.
    EXPECT_EQ(together.find(kCutName), std::string::npos) << together;
    // Alone, the later log knows no whole name, as its file read alone does not.
    EXPECT_EQ(ReadingOfDatabase({"--log", "2"}), ReadingOfLog(second));
}

TEST_P(StoredStatistics, AGrowingLogResolvesItsNewLinesAgainstItsEarlierNames) {
    const std::string log = folder_.Path("grows.log");
    const std::string start = kDate + Chat(kLongName, "hi") + Kill("Ace", kLongName);
    // Cut in the middle of a line: the rest of it arrives with the next piece.
    const std::string middle = Kill(kCutName, "Ace") + "[skipnotify]Bob was killed by ";
    const std::string end = kCutName + "'s MP40\n" + Kill("Ace", "Bob") + Chat("Bob", "gg");
    WriteFile(log, start);
    ASSERT_EQ(Import(log).status, 0);
    AppendFile(log, middle);
    ASSERT_EQ(Import(log).status, 0);
    AppendFile(log, end);
    ASSERT_EQ(Import(log).status, 0);

    EXPECT_EQ(ReadingOfDatabase(), ReadingOfLog(start + middle + end));
    // The statistics stored piece by piece are those of the whole log read at once.
    const QlaRun check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 0) << check.err;
}

TEST_P(StoredStatistics, ReadersNeverReadTheLinesOfADatabaseOfThisVersion) {
    const std::string log = folder_.Path("a.log");
    WriteFile(log, GeneratedLog(false, false, true, 2000, 7) + Chat(kLongName, "hi") +
                       Kill("Ace", kLongName));
    ASSERT_EQ(Import(log).status, 0);
    const std::string before = ReadingOfDatabase();
    // Without its lines, the database still answers every reading command the same.
    QlaRun run = Qla({"export", "--db", database_, "--view", "text", "--format", "text", "--output",
                      folder_.QPath("chats-before.txt")});
    ASSERT_EQ(run.status, 0) << run.err;
    {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        QSqlQuery query(database->Connection());
        ASSERT_TRUE(query.exec("DELETE FROM log_chunks"));
    }
    EXPECT_EQ(ReadingOfDatabase(), before);
    run = Qla({"export", "--db", database_, "--view", "text", "--format", "text", "--output",
               folder_.QPath("chats-after.txt")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(folder_.Path("chats-after.txt")),
              ReadFile(folder_.Path("chats-before.txt")));
}

INSTANTIATE_TEST_SUITE_P(Engines, StoredStatistics, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

// Placing a log's kill order among the pairs of names needs only each holding's name: read alone,
// the names and the pairs are those of the whole holdings, and damage is refused alike.
TEST(LogDigest, HoldingNamesReadAloneAreThoseOfTheWholeHoldings) {
    db::LogDigest digest;
    digest.Players.resize(3);
    digest.Renames = {{"Player", "Ace"}};
    for (const std::uint32_t name : {2u, 0u, 1u, 2u}) {
        db::DigestHolding holding;
        holding.Name = name;
        holding.Holding.Session = name;
        holding.Holding.FirstLine = 10 * name + 1;
        holding.Holding.LastLine = 1000000; // several bytes
        holding.Counters.Kills = {7, 3, 4};
        holding.Counters.Deaths[23] = 300;
        digest.Holdings.push_back(holding);
    }
    digest.Holdings[1].Holding.From = 1;
    digest.HoldingPairs = {{0, 1, 2, 5, 1}, {3, 2, kEventTeamkill, 1, 6}};
    digest.RenameHoldings = {{2, 40}};
    const std::string bytes = db::EncodeHoldings(digest);

    db::LogDigest whole, names;
    whole.Players = names.Players = digest.Players;
    whole.Renames = names.Renames = digest.Renames;
    ASSERT_TRUE(db::DecodeHoldings(bytes, whole));
    ASSERT_TRUE(db::DecodeHoldings(bytes, names, true));
    EXPECT_TRUE(names.Holdings.empty());
    ASSERT_EQ(names.HoldingNameIds.size(), whole.Holdings.size());
    for (std::size_t h = 0; h < whole.Holdings.size(); ++h)
        EXPECT_EQ(names.HoldingNameIds[h], whole.Holdings[h].Name) << h;
    ASSERT_EQ(names.HoldingPairs.size(), 2u);
    EXPECT_EQ(names.HoldingPairs[1].Killer, 3u);
    EXPECT_EQ(names.HoldingPairs[1].Count, whole.HoldingPairs[1].Count);
    EXPECT_EQ(names.RenameHoldings, whole.RenameHoldings);

    for (std::size_t cut = 1; cut < bytes.size(); cut += 5) {
        db::LogDigest part;
        part.Players = digest.Players;
        part.Renames = digest.Renames;
        EXPECT_FALSE(db::DecodeHoldings(bytes.substr(0, cut), part, true)) << "cut at " << cut;
    }
    db::LogDigest fewer; // the names point past the log's players
    fewer.Players.resize(2);
    fewer.Renames = digest.Renames;
    EXPECT_FALSE(db::DecodeHoldings(bytes, fewer, true));
}

TEST(LogDigest, PacksAndUnpacksAndRefusesDamage) {
    db::LogDigest digest;
    digest.Totals.Kills = 3;
    digest.Totals.Total = 12;
    digest.Totals.ByKind[2] = 5;
    PlayerRecord ace;
    ace.Name = "^1Ace";
    ace.Kills = {3, 2, 1};
    ace.Deaths[23] = 1;
    ace.TextChatCount = 300; // more than one byte
    PlayerRecord bob;
    bob.Name = std::string("B\0b\xff", 4); // any bytes at all
    digest.Players = {ace, bob};
    digest.EventCount = 4;
    digest.Encounters = {{0, 1, 2, 2, 1}, {1, 0, kEventTeamkill, 1, 4}, {0, 1, 3, 1, 3}};
    digest.Pairs = db::PairsOf(digest.Encounters);
    digest.Renames = {{"Ace", "^1Ace"}};
    digest.CutNames = {"^1{TKS}^2Superlongname-Number"};
    digest.TextChatRows = 300;

    const std::string bytes = db::EncodeDigest(digest);
    const auto back = db::DecodeDigest(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(db::EncodeDigest(*back), bytes);
    EXPECT_EQ(back->Players[1].Name, bob.Name);
    EXPECT_EQ(back->Players[0].TextChatCount, 300);
    EXPECT_EQ(back->Encounters[1].FirstEvent, 4u);
    // The pairs group the weapons of one killer on one victim, teamkills apart, at the first.
    ASSERT_EQ(back->Pairs.size(), 2u);
    EXPECT_EQ(back->Pairs[0].Count, 3u);
    EXPECT_EQ(back->Pairs[0].FirstEvent, 1u);
    EXPECT_EQ(back->Pairs[1].FirstWeapon, kEventTeamkill);
    const auto pairsOnly = db::DecodeDigest(bytes, {.Encounters = false});
    ASSERT_TRUE(pairsOnly);
    EXPECT_TRUE(pairsOnly->Encounters.empty());
    EXPECT_EQ(pairsOnly->Pairs.size(), 2u);
    EXPECT_EQ(back->Renames, digest.Renames);
    // Renames left out are still read past: what follows them reads as it is.
    const auto withoutRenames = db::DecodeDigest(bytes, {.Renames = false});
    ASSERT_TRUE(withoutRenames);
    EXPECT_TRUE(withoutRenames->Renames.empty());
    EXPECT_EQ(withoutRenames->CutNames, digest.CutNames);
    EXPECT_EQ(withoutRenames->TextChatRows, 300u);
    EXPECT_EQ(withoutRenames->Encounters.size(), back->Encounters.size());

    for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
        EXPECT_FALSE(db::DecodeDigest(bytes.substr(0, cut))) << "cut at " << cut;
        EXPECT_FALSE(db::DecodeDigest(bytes.substr(0, cut), {.Renames = false})) << cut;
    }
    EXPECT_FALSE(db::DecodeDigest(bytes + '\0')) << "trailing bytes";
    std::string strange = bytes;
    strange[0] = 9; // a format this qla does not know
    EXPECT_FALSE(db::DecodeDigest(strange));

    // As a database stores it: the head apart from the kills and the renames, which a reader of
    // the counters never needs; a head stored before holds them all and reads as it did.
    const db::StoredDigest stored = db::EncodeStoredDigest(digest);
    EXPECT_TRUE(db::IsSplitDigest(stored.Head));
    EXPECT_FALSE(db::IsSplitDigest(bytes));
    EXPECT_LT(stored.Head.size(), bytes.size());
    const auto whole = db::DecodeStoredDigest(stored.Head, stored.Kills, stored.Renames);
    ASSERT_TRUE(whole);
    EXPECT_EQ(db::EncodeDigest(*whole), bytes);
    EXPECT_EQ(db::EncodeDigest(*db::DecodeStoredDigest(bytes, "", "")), bytes);
    const auto counts = db::DecodeStoredDigest(
        stored.Head, "", "", {.Encounters = false, .Renames = false, .Pairs = false});
    ASSERT_TRUE(counts);
    EXPECT_TRUE(counts->Pairs.empty() && counts->Renames.empty() && counts->Encounters.empty());
    EXPECT_EQ(counts->Players[0].Kills, ace.Kills);
    EXPECT_EQ(counts->CutNames, digest.CutNames);
    EXPECT_EQ(counts->TextChatRows, 300u);
    // Parts asked for must be there and whole.
    EXPECT_FALSE(db::DecodeStoredDigest(stored.Head, "", stored.Renames));
    EXPECT_FALSE(db::DecodeStoredDigest(stored.Head, stored.Kills, ""));
    EXPECT_FALSE(db::DecodeStoredDigest(stored.Head, stored.Kills + '\0', stored.Renames));
    EXPECT_FALSE(db::DecodeStoredDigest(stored.Head.substr(0, stored.Head.size() - 1), stored.Kills,
                                        stored.Renames));
}

} // namespace
} // namespace qla::dbtest
