// qla erase-player on both engines: after it, the erased name (in any spelling of its key) is in
// no table read through SQL with every archived chunk unpacked, in no byte of the SQLite file,
// in no page of the statistics site; the other players count as before; the files import as
// before (unchanged, copies, growth) and their new lines are stored with the pseudonym; and a
// failure on the way leaves the database as it was.
#include "core/names.h"
#include "db/chunk_compression.h"
#include "db/stats_database.h"
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <map>
#include <sstream>

namespace qla::dbtest {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The numbers of "Label: value" lines, in order.
std::vector<long long> Counters(const std::string& text) {
    std::vector<long long> counters;
    for (const std::string& line : Lines(text))
        counters.push_back(std::stoll(line.substr(line.find(": ") + 2)));
    return counters;
}

std::vector<long long> Sum(std::vector<long long> a, const std::vector<long long>& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        a[i] += b[i];
    return a;
}

std::string Lower(std::string text) {
    std::ranges::transform(text, text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

class ErasePlayer : public testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        one_ = GeneratedLog(false, false, true, 3000, 61);
        WriteFile(folder_.Path("one.log"), one_);
        WriteFile(folder_.Path("two.log"), GeneratedLog(false, false, true, 3000, 62));
        ChooseName();
        ASSERT_FALSE(key_.empty()) << "the generated log holds no plain name to erase";
        WriteFile(folder_.Path("three.log"), Respelled(one_));
        const QlaRun imported = Qla({"import", folder_.QPath("one.log"), folder_.QPath("two.log"),
                                     folder_.QPath("three.log"), "--db", database_});
        ASSERT_EQ(imported.status, 0) << imported.err;
    }

    // A name of the first log in plain letters whose key no other name holds (as the hidden
    // players' test chooses one), and another spelling of it: a colour code and capitals.
    void ChooseName() {
        const std::vector<std::string> names =
            Lines(Qla({"players", folder_.QPath("one.log"), "--quiet"}).out);
        for (const std::string& name : names) {
            const std::string key = IdentityKey(name);
            const bool plain = name.size() >= 4 && std::ranges::all_of(name, [](char c) {
                                   return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
                               });
            const bool alone = std::ranges::none_of(names, [&](const std::string& other) {
                return other != name && IdentityKey(other).find(key) != std::string::npos;
            });
            if (plain && alone && key_.empty()) {
                name_ = name;
                key_ = key;
                respelled_ = "^3" + QString::fromStdString(name).toUpper().toStdString();
            } else if (shown_.empty() && !plain) {
                shown_ = name;
            }
        }
    }

    std::string Respelled(std::string log) const {
        for (std::size_t at = log.find(name_); at != std::string::npos;
             at = log.find(name_, at + respelled_.size()))
            log.replace(at, name_.size(), respelled_);
        return log;
    }

    QlaRun Erase(const std::string& name) {
        return Qla({"erase-player", "--db", database_, QString::fromStdString(name)});
    }

    // Every table of the database through SQL, each value as its bytes and every archived chunk
    // unpacked, in lower case.
    std::string DatabaseText() {
        std::string error;
        const auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadOnly, error);
        EXPECT_TRUE(database) << error;
        if (!database)
            return {};
        QSqlQuery tables(database->Connection());
        EXPECT_TRUE(tables.exec(GetParam() == Engine::SQLite
                                    ? "SELECT name FROM sqlite_master WHERE type = 'table'"
                                      " ORDER BY name"
                                    : "SELECT table_name FROM information_schema.tables WHERE"
                                      " table_schema = current_schema() AND table_type ="
                                      " 'BASE TABLE' ORDER BY table_name"));
        std::string text;
        while (tables.next()) {
            const QString table = tables.value(0).toString();
            text += "table " + table.toStdString() + "\n";
            QStringList order;
            for (int column = 1; column <= database->Connection().record(table).count(); ++column)
                order << QString::number(column);
            QSqlQuery rows(database->Connection());
            EXPECT_TRUE(rows.exec("SELECT * FROM " + table + " ORDER BY " + order.join(", ")))
                << table.toStdString();
            const int packing = rows.record().indexOf("packing");
            while (rows.next())
                for (int column = 0; column < rows.record().count(); ++column) {
                    QByteArray value = rows.value(column).toByteArray();
                    if (table == "log_chunks" && column == rows.record().indexOf("bytes") &&
                        !rows.value(packing).isNull())
                        value = db::UnpackChunk(value, rows.value(packing).toString().toStdString())
                                    .value_or(value);
                    text += value.toStdString() + "\t";
                }
        }
        return Lower(text);
    }

    // The rows of the player_totals view, by name.
    std::map<std::string, std::string> PlayerTotals() {
        std::map<std::string, std::string> totals;
        const QlaRun players = Qla({"players", "--db", database_});
        for (const std::string& name : Lines(players.out)) {
            const QlaRun player =
                Qla({"player", "--db", database_, "--", QString::fromStdString(name)});
            EXPECT_EQ(player.status, 0) << name << ": " << player.err;
            totals[name] = player.out.substr(player.out.find('\n') + 1);
        }
        return totals;
    }

    std::string SiteText() {
        const QString site = folder_.QPath("site" + std::to_string(++sites_));
        const QlaRun run = Qla({"export", "--db", database_, "--view", "dashboard", "--format",
                                "html", "--output", site});
        EXPECT_EQ(run.status, 0) << run.err;
        return Lower(FolderContents(site.toStdString()));
    }

    // The lines of the first log that name him, and a chat that mentions him in capitals.
    std::string LinesNamingHim() const {
        std::string lines;
        for (const std::string& line : Lines(one_))
            if (line.find(name_) != std::string::npos && lines.size() < 4000)
                lines += line + "\n";
        return lines + "[skipnotify]" + shown_ + "^7: ^2well played " +
               QString::fromStdString(name_).toUpper().toStdString() + "\n";
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
    std::string one_, name_, respelled_, key_, shown_;
    int sites_ = 0;
};

TEST_P(ErasePlayer, TheNameIsNowhereAndTheOthersCountAsBefore) {
    ASSERT_NE(DatabaseText().find(key_), std::string::npos);
    ASSERT_NE(SiteText().find(key_), std::string::npos);
    std::map<std::string, std::string> before = PlayerTotals();
    const QlaRun analyzed = Qla({"analyze", "--db", database_});

    // Named by a spelling of his key that the logs never use.
    const QlaRun erased = Erase(" ^5" + Lower(respelled_.substr(2)) + " ");
    ASSERT_EQ(erased.status, 0) << erased.err;
    EXPECT_EQ(erased.out.rfind("erased ", 0), 0u) << erased.out;
    EXPECT_NE(erased.out.find(" lines rewritten; shown as \"erased player 1\""), std::string::npos)
        << erased.out;

    EXPECT_EQ(DatabaseText().find(key_), std::string::npos);
    EXPECT_EQ(SiteText().find(key_), std::string::npos);
    if (GetParam() == Engine::SQLite) {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        ASSERT_TRUE(QSqlQuery(database->Connection()).exec("VACUUM"));
        database.reset();
        EXPECT_EQ(Lower(ReadFile(database_.toStdString())).find(key_), std::string::npos);
    }

    // The others count as before, and his two spellings count as one under the pseudonym.
    std::map<std::string, std::string> after = PlayerTotals();
    ASSERT_EQ(after.count("erased player 1"), 1u);
    EXPECT_EQ(Counters(after.at("erased player 1")),
              Sum(Counters(before.at(name_)), Counters(before.at(respelled_))));
    after.erase("erased player 1");
    before.erase(name_);
    before.erase(respelled_);
    EXPECT_EQ(after, before);
    // The totals stay; his two spellings are one player now.
    const std::string players = "Players: " + std::to_string(before.size() + 2) + "\n";
    ASSERT_TRUE(analyzed.out.ends_with(players)) << analyzed.out;
    EXPECT_EQ(Qla({"analyze", "--db", database_}).out,
              analyzed.out.substr(0, analyzed.out.size() - players.size()) +
                  "Players: " + std::to_string(before.size() + 1) + "\n");
    const QlaRun check = Qla({"check", "--db", database_});
    EXPECT_EQ(check.status, 0) << check.err;
}

TEST_P(ErasePlayer, TheFilesImportAsBeforeAndHisNewLinesGetThePseudonym) {
    ASSERT_EQ(Erase(name_).status, 0);
    const std::string erased = DatabaseText();
    const QlaRun again = Qla({"import", folder_.QPath("one.log"), folder_.QPath("two.log"),
                              folder_.QPath("three.log"), "--db", database_});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(Lines(again.out).size(), 3u);
    for (const std::string& line : Lines(again.out))
        EXPECT_NE(line.find("unchanged, nothing imported"), std::string::npos) << line;
    // A copy of the first log's first lines is still known as one.
    const std::string half = one_.substr(0, one_.find('\n', one_.size() / 2) + 1);
    WriteFile(folder_.Path("copy.log"), half);
    const QlaRun copy = Qla({"import", folder_.QPath("copy.log"), "--db", database_});
    EXPECT_NE(copy.out.find("a copy of the first lines of this log"), std::string::npos)
        << copy.out << copy.err;
    EXPECT_EQ(DatabaseText(), erased);

    // The first log grows with lines naming him, and a new log names him too.
    const std::string grown = LinesNamingHim();
    WriteFile(folder_.Path("piece.log"), grown);
    const QlaRun piece = Qla(
        QStringList{"player", folder_.QPath("piece.log"), QString::fromStdString(name_), "--quiet"}
        << kNewDatabaseReading);
    ASSERT_EQ(piece.status, 0) << piece.err;
    const QlaRun before = Qla({"player", "--db", database_, "erased player 1"});
    AppendFile(folder_.Path("one.log"), grown);
    WriteFile(folder_.Path("new.log"), "logfile opened on Mon Oct 12 02:52:15 2009\n" + grown);
    const QlaRun more =
        Qla({"import", folder_.QPath("one.log"), folder_.QPath("new.log"), "--db", database_});
    ASSERT_EQ(more.status, 0) << more.err;
    EXPECT_NE(more.out.find("grew, " + std::to_string(Lines(grown).size()) + " lines imported"),
              std::string::npos)
        << more.out;
    EXPECT_NE(more.out.find("new.log: new"), std::string::npos) << more.out;
    EXPECT_EQ(DatabaseText().find(key_), std::string::npos);
    EXPECT_EQ(SiteText().find(key_), std::string::npos);
    // Each of the two logs adds his counts in those lines to the pseudonym's.
    const QlaRun after = Qla({"player", "--db", database_, "erased player 1"});
    const auto kills = [](const std::string& out) {
        return std::stoll(out.substr(out.find("Kills: ") + 7));
    };
    EXPECT_EQ(kills(after.out), kills(before.out) + 2 * kills(piece.out)) << after.out;
    EXPECT_EQ(Qla({"check", "--db", database_}).status, 0);
}

TEST_P(ErasePlayer, AFailureOnTheWayLeavesTheDatabaseAsItWas) {
    // Log 2's first chunk damaged: the erase rewrites log 1, then fails at log 2.
    {
        std::string error;
        auto database =
            db::StatsDatabase::Open(database_.toStdString(), db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        ASSERT_TRUE(QSqlQuery(database->Connection())
                        .exec(GetParam() == Engine::SQLite
                                  ? "UPDATE log_chunks SET bytes = substr(bytes, 1, 50) || X'00' ||"
                                    " substr(bytes, 52) WHERE log_id = 2 AND seq = 0"
                                  : "UPDATE log_chunks SET bytes = set_byte(bytes, 50, 0)"
                                    " WHERE log_id = 2 AND seq = 0"));
    }
    const std::string before = DatabaseText();
    const QlaRun erased = Erase(name_);
    EXPECT_EQ(erased.status, 1);
    EXPECT_NE(erased.err.find("is damaged: chunk 0 of log 2"), std::string::npos) << erased.err;
    EXPECT_EQ(DatabaseText(), before);
    EXPECT_EQ(before.find("erased_players"), std::string::npos);
}

TEST_P(ErasePlayer, ALogWithoutLinesThatNamesHimRefusesTheErase) {
    const QString database = NewDatabase(GetParam(), folder_, "without");
    ASSERT_EQ(Qla({"import", folder_.QPath("one.log"), "--db", database}).status, 0);
    ASSERT_EQ(Qla({"import", folder_.QPath("three.log"), "--db", database, "--no-archive"}).status,
              0);
    const QStringList erase{"erase-player", "--db", database, QString::fromStdString(name_)};
    const QlaRun refused = Qla(erase);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("log 2 keeps no lines (imported with --no-archive) and names the "
                               "player"),
              std::string::npos)
        << refused.err;
    EXPECT_NE(Qla({"players", "--db", database}).out.find(name_), std::string::npos);
    ASSERT_EQ(Qla({"forget", "--db", database, "2"}).status, 0);
    const QlaRun erased = Qla(erase);
    EXPECT_EQ(erased.status, 0) << erased.err;
    EXPECT_EQ(erased.out.rfind("erased " + name_ + " from 1 log: ", 0), 0u) << erased.out;
}

TEST_P(ErasePlayer, AliasesAndHiddenPlayersFollowAndThePseudonymIsNoOnesName) {
    const QString name = QString::fromStdString(name_), shown = QString::fromStdString(shown_);
    ASSERT_EQ(Qla({"alias", "add", "--db", database_, name, shown}).status, 0);
    ASSERT_EQ(Qla({"hide", "--db", database_, QString::fromStdString(respelled_)}).status, 0);
    // A name of the database has the first pseudonym's key already.
    ASSERT_EQ(Qla({"alias", "add", "--db", database_, "Erased Player 1", shown}).status, 0);
    const QlaRun erased = Erase(name_);
    ASSERT_EQ(erased.status, 0) << erased.err;
    EXPECT_NE(erased.out.find("shown as \"erased player 2\""), std::string::npos) << erased.out;
    EXPECT_EQ(Qla({"hide", "--db", database_}).out, "erased player 2\n");
    const std::string text = DatabaseText();
    const std::size_t aliases = text.find("table player_aliases\n");
    ASSERT_NE(aliases, std::string::npos);
    const std::string rows = text.substr(aliases, text.find("table ", aliases + 1) - aliases);
    EXPECT_NE(rows.find("erased player 2"), std::string::npos) << rows;
    EXPECT_EQ(text.find(key_), std::string::npos);

    // Erased once is enough, and a pseudonym is no name to erase.
    const QlaRun twice = Erase(respelled_);
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.err.find("was erased before: the database " + database_.toStdString() +
                             " shows him as erased player 2"),
              std::string::npos)
        << twice.err;
    EXPECT_EQ(Erase("erased player 2").status, 1);
}

TEST_P(ErasePlayer, TheCommandChecksItsArguments) {
    EXPECT_EQ(Qla({"erase-player", QString::fromStdString(name_)}).status, 2);
    EXPECT_EQ(Qla({"erase-player", "--db", database_}).status, 2);
    EXPECT_EQ(Erase("^1 ").status, 2);
    const QlaRun unknown = Erase("Nobody Here");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("holds no player named 'Nobody Here'"), std::string::npos)
        << unknown.err;
    EXPECT_NE(DatabaseText().find(key_), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Engines, ErasePlayer, kEngines);

} // namespace
} // namespace qla::dbtest
