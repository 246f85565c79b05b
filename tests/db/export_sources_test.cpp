// qla export --db never writes over what it reads: a selected log (by the path it was imported
// from) or the SQLite database file as the output file, nor a site into a folder holding them.
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qla::dbtest {
namespace {

namespace fs = std::filesystem;

class ExportSources : public testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        fs::create_directory(folder_.Path("logs"));
        WriteFile(folder_.Path("logs/game.log"), log_);
        ASSERT_EQ(Qla({"import", folder_.QPath("logs/game.log"), "--db", database_}).status, 0);
    }
    QlaRun Export(const std::string& view, const std::string& format, const QString& output) {
        return Qla({"export", "--db", database_, "--view", QString::fromStdString(view), "--format",
                    QString::fromStdString(format), "--output", output});
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
    std::string log_ = GeneratedLog(false, false, false, 800, 21);
};

TEST_P(ExportSources, TheSelectedLogIsNeverTheOutput) {
    const QString log = folder_.QPath("logs/game.log");
    for (const auto& [view, format] : {std::pair{"standard", "html"}, std::pair{"junk", "text"},
                                       std::pair{"standard", "json"}}) {
        const QlaRun run = Export(view, format, log);
        EXPECT_EQ(run.status, 1) << view << " " << format;
        EXPECT_EQ(run.err, "qla export: " + log.toStdString() +
                               ": Not written: that file is the log being analysed\n");
    }
    // Another spelling of the same file, and a second name of it.
    fs::create_hard_link(folder_.Path("logs/game.log"), folder_.Path("second-name.log"));
    EXPECT_EQ(Export("standard", "xml", folder_.QPath("logs/../logs/game.log")).status, 1);
    EXPECT_EQ(Export("standard", "xml", folder_.QPath("second-name.log")).status, 1);
    EXPECT_EQ(ReadFile(folder_.Path("logs/game.log")), log_);
    // A log left out by --log may be written over like any file.
    const QlaRun other = Qla({"export", "--db", database_, "--log", "1", "--view", "standard",
                              "--format", "text", "--output", folder_.QPath("out.txt")});
    EXPECT_EQ(other.status, 0) << other.err;
}

TEST_P(ExportSources, ASiteFolderHoldingTheLogIsRefused) {
    for (const char* view : {"all", "dashboard"}) {
        for (const QString& site : {folder_.QPath("logs"), folder_.QPath("")}) {
            const QlaRun run = Export(view, "html", site);
            EXPECT_EQ(run.status, 1) << view << " " << site.toStdString();
            // The test's own folder holds an SQLite database too, named first.
            const std::string held = GetParam() == Engine::SQLite && !site.endsWith("logs")
                                         ? "the database " + folder_.Path("stats.db")
                                         : "the log " + folder_.Path("logs/game.log");
            EXPECT_EQ(run.err, "qla export: " + site.toStdString() +
                                   ": Not written: the folder holds " + held + "\n");
        }
    }
    EXPECT_FALSE(fs::exists(folder_.Path("logs/index.html")));
    EXPECT_FALSE(fs::exists(folder_.Path("index.html")));
    const QlaRun beside = Export("all", "html", folder_.QPath("site"));
    EXPECT_EQ(beside.status, 0) << beside.err;
    EXPECT_TRUE(fs::exists(folder_.Path("site/index.html")));
}

TEST(ExportSourcesSQLite, TheDatabaseFileIsNeverTheOutputNorInTheSiteFolder) {
    TempFolder folder;
    fs::create_directory(folder.Path("data"));
    const QString database = folder.QPath("data/stats.db");
    WriteFile(folder.Path("game.log"), GeneratedLog(false, false, false, 500, 22));
    ASSERT_EQ(Qla({"import", folder.QPath("game.log"), "--db", database}).status, 0);
    const std::string stored = Qla({"analyze", "--db", database}).out;
    const QlaRun file = Qla({"export", "--db", database, "--view", "standard", "--format", "csv",
                             "--output", database});
    EXPECT_EQ(file.status, 1);
    EXPECT_EQ(file.err, "qla export: " + database.toStdString() +
                            ": Not written: that file is the database being read\n");
    const QlaRun site = Qla({"export", "--db", database, "--view", "dashboard", "--format", "html",
                             "--output", folder.QPath("data")});
    EXPECT_EQ(site.status, 1);
    EXPECT_EQ(site.err, "qla export: " + folder.Path("data") +
                            ": Not written: the folder holds the database " +
                            database.toStdString() + "\n");
    EXPECT_EQ(Qla({"analyze", "--db", database}).out, stored);
    EXPECT_FALSE(fs::exists(folder.Path("data/index.html")));
}

INSTANTIATE_TEST_SUITE_P(Engines, ExportSources, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
