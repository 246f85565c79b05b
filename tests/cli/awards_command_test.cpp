// qla awards on generated logs: each award against a count of the analysed log's own records
// and events, the periods split by the logs' dates and sessions, a database holding the logs
// answering as the logs do, and the CSV's shape.
#include "qla_run.h"

#include "analysis/analysis.h"
#include "core/names.h"
#include "generator.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <fstream>
#include <map>
#include <sstream>

namespace qla::cli {
namespace {

// A generated log whose date line names `date` ("Sat May 19 19:26:15 2007").
std::string GeneratedLog(std::uint64_t seed, const std::string& date) {
    loggen::Options options;
    options.players = 8;
    options.lines = 2500;
    options.seed = seed;
    std::ostringstream log;
    EXPECT_TRUE(loggen::generateLog(options, log));
    std::string text = log.str();
    text.replace(0, text.find('\n'), "logfile opened on " + date + "\r");
    return text;
}

QJsonObject ParsedJson(const QlaRun& run) {
    EXPECT_EQ(run.status, 0) << run.err;
    QJsonParseError error;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out;
    return document.object();
}

QJsonObject AwardIn(const QJsonObject& period, const QString& key) {
    for (const QJsonValue award : period["awards"].toArray())
        if (award["award"].toString() == key)
            return award.toObject();
    ADD_FAILURE() << "no award " << key.toStdString();
    return {};
}

// The best of `value` over the store's players with the awards' tie rule: fewer deaths, then
// the name without colour codes, then the player met first.
struct Best {
    std::string Name;
    std::int64_t Value = 0;
};
template <class Value> Best BestBy(const AnalysisStore& store, Value value) {
    Best best;
    std::int64_t bestDeaths = 0;
    for (const PlayerIndex p : store.PlayerIndexes()) {
        const PlayerRecord& r = store.Players[p];
        const std::int64_t v = value(p, r);
        if (v <= 0)
            continue;
        const bool better =
            best.Name.empty() || v > best.Value ||
            (v == best.Value && (r.Deaths[0] < bestDeaths ||
                                 (r.Deaths[0] == bestDeaths &&
                                  StripColourCodes(r.Name) < StripColourCodes(best.Name))));
        if (better) {
            best = {r.Name, v};
            bestDeaths = r.Deaths[0];
        }
    }
    return best;
}

class AwardsCommandTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        first_ = GeneratedLog(21, "Sat May 19 19:26:15 2007");
        second_ = GeneratedLog(22, "Mon May 21 20:00:00 2007");
        Write("first.log", first_);
        Write("second.log", second_);
        Write("both.log", first_ + second_); // two sessions in one file
    }
    void Write(const char* name, const std::string& text) const {
        std::ofstream(Path(name).toStdString(), std::ios::binary) << text;
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
    std::string first_, second_;
};

TEST_F(AwardsCommandTest, EachAwardIsTheBestOfTheLogsOwnCounts) {
    AnalysisStore store;
    store.LogLines = LogLineList::FromBytes(first_);
    AnalyzeLog(store, LogLanguage::English);
    // The streaks walked here from the events in log order.
    std::map<PlayerIndex, std::int64_t> run, longest;
    for (std::size_t e = 1; e < store.KillEvents.size(); ++e) {
        const KillEvent& event = store.KillEvents[e];
        run[event.Victim] = 0;
        if (event.WeaponText != kEventTeamkill)
            longest[event.Killer] = std::max(longest[event.Killer], ++run[event.Killer]);
    }
    const QJsonObject answer =
        ParsedJson(Qla({"awards", Path("first.log"), "--format", "json", "--quiet"}));
    EXPECT_EQ(answer["view"].toString(), "awards");
    EXPECT_TRUE(answer["streaksKnown"].toBool());
    const QJsonArray periods = answer["periods"].toArray();
    ASSERT_EQ(periods.size(), 1);
    const QJsonObject all = periods[0].toObject();
    EXPECT_EQ(all["key"].toString(), "all");
    const auto winner = [&](const char* key) {
        const QJsonArray winners = AwardIn(all, key)["winners"].toArray();
        return winners.isEmpty() ? Best{}
                                 : Best{winners[0]["player"]["name"].toString().toStdString(),
                                        winners[0]["value"].toInteger()};
    };
    const auto expectBest = [&](const char* key, const Best& expected) {
        const Best got = winner(key);
        EXPECT_EQ(got.Name, expected.Name) << key;
        EXPECT_EQ(got.Value, expected.Value) << key;
        EXPECT_GT(expected.Value, 0) << key << ": the generated log should give it";
    };
    expectBest("most_kills",
               BestBy(store, [](PlayerIndex, const PlayerRecord& r) { return r.Kills[0]; }));
    expectBest("longest_kill_streak",
               BestBy(store, [&](PlayerIndex p, const PlayerRecord&) { return longest[p]; }));
    expectBest("most_chat", BestBy(store, [](PlayerIndex, const PlayerRecord& r) {
                   return r.VoiceChatCount + r.TextChatCount;
               }));
    expectBest("most_teamkills",
               BestBy(store, [](PlayerIndex, const PlayerRecord& r) { return r.Teamkills; }));
    // Every weapon's best holds that weapon's most kills.
    for (const QJsonValue entry : AwardIn(all, "weapon_kills")["winners"].toArray()) {
        const WeaponId weapon = WeaponIdFromName(entry["subject"].toString().toStdString());
        std::int64_t most = 0;
        for (const PlayerRecord& r : RealEntries(store.Players))
            most = std::max(most, r.Kills[weapon]);
        EXPECT_EQ(entry["value"].toInteger(), most) << entry["subject"].toString().toStdString();
    }
    // First blood: the log's first kill that is no teamkill.
    std::size_t e = 1;
    while (store.KillEvents[e].WeaponText == kEventTeamkill)
        ++e;
    const QJsonArray bloods = AwardIn(all, "first_blood")["winners"].toArray();
    ASSERT_EQ(bloods.size(), 1);
    EXPECT_EQ(bloods[0]["player"]["name"].toString().toStdString(),
              store.Players[store.KillEvents[e].Killer].Name);
    EXPECT_EQ(bloods[0]["other"]["name"].toString().toStdString(),
              store.Players[store.KillEvents[e].Victim].Name);
    // The records of the one session are its awards, with the log's date.
    const QJsonObject record = answer["records"].toArray()[2].toObject();
    EXPECT_EQ(record["record"].toString(), "most_kills_in_session");
    EXPECT_EQ(record["value"].toInteger(), winner("most_kills").Value);
    EXPECT_EQ(record["date"].toString(), "2007-05-19 19:26:15");
    EXPECT_EQ(record["log"].toString(), "first.log:1");
}

TEST_F(AwardsCommandTest, PeriodsSplitByTheSessionsAndTheirDates) {
    const QJsonObject sessions = ParsedJson(
        Qla({"awards", Path("both.log"), "--period", "session", "--format", "json", "--quiet"}));
    const QJsonArray periods = sessions["periods"].toArray();
    ASSERT_EQ(periods.size(), 2);
    EXPECT_EQ(periods[0]["key"].toString(), "both.log:1");
    EXPECT_EQ(periods[1]["firstDate"].toString(), "2007-05-21 20:00:00");
    // Each session's awards are those of its log read alone (its labels apart).
    for (int s = 0; s < 2; ++s) {
        QJsonObject alone = ParsedJson(Qla({"awards", Path(s == 0 ? "first.log" : "second.log"),
                                            "--format", "json", "--quiet"}))["periods"]
                                .toArray()[0]
                                .toObject();
        QJsonObject session = periods[s].toObject();
        for (QJsonObject* period : {&alone, &session}) {
            period->remove("key");
            QJsonArray awards = (*period)["awards"].toArray();
            // First blood names its log; the rating gain of the second session starts from
            // the first's fit.
            for (int a = awards.size() - 1; a >= 0; --a)
                if (awards[a].toObject()["award"] == "first_blood" ||
                    (s == 1 && awards[a].toObject()["award"] == "best_rating_gain"))
                    awards.removeAt(a);
            period->insert("awards", awards);
        }
        EXPECT_EQ(session, alone) << "session " << s + 1;
    }
    const QJsonObject days = ParsedJson(
        Qla({"awards", Path("both.log"), "--period", "week", "--format", "json", "--quiet"}));
    const QJsonArray weeks = days["periods"].toArray();
    ASSERT_EQ(weeks.size(), 2); // Saturday and the Monday after: two ISO weeks
    EXPECT_EQ(weeks[0]["key"].toString(), "2007-W20");
    EXPECT_EQ(weeks[1]["key"].toString(), "2007-W21");
    const QJsonObject month = ParsedJson(
        Qla({"awards", Path("both.log"), "--period", "month", "--format", "json", "--quiet"}));
    ASSERT_EQ(month["periods"].toArray().size(), 1);
    EXPECT_EQ(AwardIn(month["periods"][0].toObject(), "first_blood")["winners"].toArray().size(),
              2);
}

TEST_F(AwardsCommandTest, ADatabaseHoldingTheLogsAnswersAsTheLogsDo) {
    const QString db = Path("stats.db");
    for (const char* log : {"first.log", "second.log"})
        ASSERT_EQ(
            Qla({"import", Path(log), "--db", db, "--recognition", "classic", "--quiet"}).status,
            0);
    // A stored log is labelled by its id, a session of a file by the file and its place.
    const auto labelledAsStored = [](std::string text) {
        for (const char* session : {"1", "2"})
            for (std::size_t at = 0;
                 (at = text.find(std::string("both.log:") + session, at)) != std::string::npos;)
                text.replace(at, 10, std::string("log ") + session);
        return text;
    };
    for (const char* period : {"session", "day", "all"})
        for (const char* format : {"json", "text", "csv"}) {
            const QlaRun fromLog = Qla(
                {"awards", Path("both.log"), "--period", period, "--format", format, "--quiet"});
            const QlaRun fromDatabase =
                Qla({"awards", "--db", db, "--period", period, "--format", format});
            ASSERT_EQ(fromDatabase.status, 0) << fromDatabase.err;
            EXPECT_EQ(fromDatabase.out, labelledAsStored(fromLog.out)) << period << " " << format;
        }
    const QJsonObject answer =
        ParsedJson(Qla({"awards", "--db", db, "--period", "session", "--format", "json"}));
    EXPECT_TRUE(answer["streaksKnown"].toBool());
    EXPECT_FALSE(answer.contains("note"));
    EXPECT_GT(AwardIn(answer["periods"][1].toObject(), "longest_kill_streak")["winners"][0]["value"]
                  .toInteger(),
              1);
}

TEST_F(AwardsCommandTest, CsvHasOneRowPerWinnerAndRecordAndMistakesAreUsageErrors) {
    const QJsonObject json = ParsedJson(
        Qla({"awards", Path("both.log"), "--period", "day", "--format", "json", "--quiet"}));
    std::size_t rows = 0;
    for (const QJsonValue period : json["periods"].toArray())
        for (const QJsonValue award : period["awards"].toArray())
            rows += static_cast<std::size_t>(award["winners"].toArray().size());
    for (const QJsonValue record : json["records"].toArray())
        rows += record["player"].isNull() ? 0 : 1;
    const QlaRun csv =
        Qla({"awards", Path("both.log"), "--period", "day", "--format", "csv", "--quiet"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    std::istringstream lines(csv.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "section,period,award,name,visible_name,other,visible_other,subject,value,"
                    "kills,deaths,log,date,note\r");
    std::size_t count = 0;
    while (std::getline(lines, line)) {
        ++count;
        EXPECT_TRUE(line.ends_with("\r")) << line;
    }
    EXPECT_EQ(count, rows);

    EXPECT_EQ(Qla({"awards", Path("both.log"), "--period", "year"}).status, 2);
    EXPECT_EQ(Qla({"awards", Path("both.log"), "--format", "xml"}).status, 2);
    EXPECT_EQ(Qla({"awards"}).status, 2);
    EXPECT_EQ(Qla({"awards", Path("missing.log")}).status, 1);
}

} // namespace
} // namespace qla::cli
