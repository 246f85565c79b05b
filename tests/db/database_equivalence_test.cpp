// What a database holds is what the concatenation of its logs holds: every view and format
// exported from the database equals, byte for byte, the same export of the concatenated log,
// before and after a log is forgotten.
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace qla::dbtest {
namespace {

// How one generated log of a case is written: its encoding, its line ends, its last line.
struct LogShape {
    bool windows1252;
    bool lf;
    bool lastLineUnended; // imported with --finished; the concatenation gives it its line end
};

struct EquivalenceCase {
    const char* name;
    bool german;
    std::vector<LogShape> logs;
};

void PrintTo(const EquivalenceCase& c, std::ostream* out) {
    *out << c.name;
}

class Equivalence : public testing::TestWithParam<std::tuple<EquivalenceCase, Engine>> {
  protected:
    static const EquivalenceCase& Case() { return std::get<0>(GetParam()); }

    // Exports every view and format from `source` (a log path or "--db" + path) into `folder`,
    // one file (or site folder) each, and returns them all as one text.
    std::string ExportAll(const QStringList& source, const std::string& folder,
                          const QStringList& language) {
        struct Export {
            const char* view;
            const char* format;
        };
        static constexpr Export kExports[] = {
            {"standard", "html"}, {"standard", "text"}, {"standard", "xml"}, {"player", "html"},
            {"player", "text"},   {"weapons", "html"},  {"weapons", "text"}, {"voice", "html"},
            {"voice", "text"},    {"text", "html"},     {"text", "text"},    {"junk", "html"},
            {"junk", "text"},     {"all", "html"}};
        std::string all;
        std::filesystem::create_directories(folder);
        for (const Export& e : kExports) {
            const std::string output = folder + "/" + e.view + "." + e.format;
            QStringList arguments{"export"};
            arguments << source << language << "--view" << e.view << "--format" << e.format
                      << "--output" << QString::fromStdString(output);
            if (std::string(e.view) == "player")
                arguments << "--player" << QString::fromStdString(player_);
            const QlaRun run = Qla(arguments);
            EXPECT_EQ(run.status, 0) << e.view << " " << e.format << ": " << run.err;
            all += std::string("### ") + e.view + " " + e.format + "\n" +
                   (std::string(e.view) == "all" ? FolderContents(output) : ReadFile(output));
        }
        for (const char* command : {"analyze", "players"}) {
            QStringList arguments{command};
            arguments << source << language;
            all += std::string("### ") + command + "\n" + Qla(arguments).out;
        }
        return all;
    }

    // Imports the logs, exports from the database and from their concatenation, compares.
    void ExpectDatabaseEqualsConcatenation(const std::vector<std::string>& logs,
                                           const std::vector<int>& kept, const std::string& tag) {
        std::string concatenated;
        for (int index : kept) {
            concatenated += logs[static_cast<std::size_t>(index)];
            const char last = concatenated.back();
            if (last != '\n' && last != '\r')
                concatenated += '\n';
        }
        const std::string whole = folder_.Path(tag + "-whole.log");
        WriteFile(whole, concatenated);
        const QStringList language = QStringList{"--language", Case().german ? "german" : "english"}
                                     << kNewDatabaseReading;
        const QlaRun players =
            Qla(QStringList{"players", QString::fromStdString(whole)} << language);
        ASSERT_EQ(players.status, 0) << players.err;
        player_ = players.out.substr(0, players.out.find('\n'));

        const std::string fromLog =
            ExportAll({QString::fromStdString(whole)}, folder_.Path(tag + "-from-log"), language);
        const std::string fromDatabase =
            ExportAll({"--db", database_}, folder_.Path(tag + "-from-db"), {});
        EXPECT_EQ(fromDatabase.size(), fromLog.size()) << tag;
        EXPECT_TRUE(fromDatabase == fromLog) << tag << ": the exports differ";
    }

    TempFolder folder_;
    QString database_ = NewDatabase(std::get<1>(GetParam()), folder_);
    std::string player_;
};

TEST_P(Equivalence, EveryExportEqualsTheConcatenatedLog) {
    const EquivalenceCase& c = Case();
    std::vector<std::string> logs;
    const QString& database = database_;
    for (std::size_t i = 0; i < c.logs.size(); ++i) {
        const LogShape& shape = c.logs[i];
        std::string bytes = GeneratedLog(c.german, shape.windows1252, shape.lf, 400, 40 + i);
        if (shape.lastLineUnended)
            bytes.erase(bytes.find_last_not_of("\r\n") + 1);
        logs.push_back(bytes);
        const std::string path = folder_.Path("log" + std::to_string(i) + ".log");
        WriteFile(path, bytes);
        QStringList arguments{"import",     QString::fromStdString(path),   "--db", database,
                              "--language", c.german ? "german" : "english"};
        if (shape.lastLineUnended)
            arguments << "--finished";
        const QlaRun run = Qla(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
    }
    std::vector<int> all;
    for (std::size_t i = 0; i < logs.size(); ++i)
        all.push_back(static_cast<int>(i));
    ExpectDatabaseEqualsConcatenation(logs, all, "all");

    const QlaRun forget = Qla({"forget", "--db", database, "2"});
    ASSERT_EQ(forget.status, 0) << forget.err;
    std::vector<int> kept = all;
    kept.erase(kept.begin() + 1);
    ExpectDatabaseEqualsConcatenation(logs, kept, "after-forget");
}

INSTANTIATE_TEST_SUITE_P(Databases, Equivalence,
                         testing::Combine(testing::Values(EquivalenceCase{"English",
                                                                          false,
                                                                          {{false, false, false},
                                                                           {false, true, false},
                                                                           {true, true, false},
                                                                           {false, true, true}}},
                                                          EquivalenceCase{"German",
                                                                          true,
                                                                          {{true, false, false},
                                                                           {false, true, false},
                                                                           {true, true, true}}}),
                                          kEngines),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    EngineName(std::get<1>(info.param));
                         });

} // namespace
} // namespace qla::dbtest
