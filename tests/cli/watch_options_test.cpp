// qla watch reads --view and --format as qla export does: in any case, with the same "did you
// mean" and the same refusals, held to the views that write a site; its help names those views.
#include "cli/qla_app.h"

#include "qla_run.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include <fstream>
#include <sstream>
#include <string>

namespace qla::cli {
namespace {

// The first line of a usage error without its "qla COMMAND: ".
std::string Complaint(const QlaRun& run) {
    const std::string line = run.err.substr(0, run.err.find('\n'));
    return line.substr(line.find(": ") + 2);
}

class WatchOptionsTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        std::ofstream(Path("game.log").toStdString(), std::ios::binary)
            << "[skipnotify]Bob was killed by Al's MP40\n";
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QlaRun Watch(const QString& view, const QString& format) {
        return Qla({"watch", Path("game.log"), "--db", Path("stats.db"), "--site", Path("site"),
                    "--view", view, "--format", format});
    }
    QlaRun Export(const QString& view, const QString& format) {
        return Qla({"export", Path("game.log"), "--view", view, "--format", format, "--output",
                    Path("out")});
    }

    QTemporaryDir dir_;
};

TEST_F(WatchOptionsTest, ViewAndFormatMistakesAreToldAsExportTellsThem) {
    const std::pair<QString, QString> mistakes[] = {
        {"dashbord", "html"}, // a slip: the nearest view is named
        {"scores", "html"},   // nothing near
        {"all", "htm"},       // a format slip
        {"all", "json"},      // a pair that does not go together
        {"all", "text"},
    };
    for (const auto& [view, format] : mistakes) {
        const QlaRun watch = Watch(view, format);
        const QlaRun exported = Export(view, format);
        EXPECT_EQ(watch.status, 2) << watch.err;
        EXPECT_EQ(exported.status, 2) << exported.err;
        EXPECT_EQ(watch.err.rfind("qla watch: ", 0), 0u) << watch.err;
        EXPECT_EQ(Complaint(watch), Complaint(exported)) << view.toStdString();
    }
    EXPECT_EQ(Complaint(Watch("dashbord", "html")),
              "unknown view 'dashbord' (did you mean 'dashboard'?)");
    EXPECT_EQ(Complaint(Watch("all", "htm")), "unknown format 'htm' (did you mean 'html'?)");
}

TEST_F(WatchOptionsTest, OnlyViewsThatWriteASiteAreTaken) {
    EXPECT_EQ(Complaint(Watch("Standard", "html")), "--view standard writes no site");
    EXPECT_EQ(Complaint(Watch("dashboard", "JSON")),
              "view dashboard with format json writes a file, not a site");
    const QlaRun noView =
        Qla({"watch", Path("game.log"), "--db", Path("stats.db"), "--site", Path("site")});
    EXPECT_EQ(noView.status, 2);
    EXPECT_EQ(Complaint(noView), "--site needs --view (a view that writes a site: all, dashboard)");
}

// The thresholds are the statistics site's: refused without a site, for the linked pages, and as
// qla export refuses a value that is no whole number >= 0.
TEST_F(WatchOptionsTest, ThresholdsBelongToTheStatisticsSite) {
    const auto watch = [&](QStringList more) {
        return Qla(QStringList{"watch", Path("game.log"), "--db", Path("stats.db")} + more);
    };
    const QStringList site{"--site", Path("site"), "--view"};
    EXPECT_EQ(Complaint(watch({"--min-kills", "2"})), "--min-kills needs --site DIR");
    EXPECT_EQ(Complaint(watch(site + QStringList{"all", "--min-deaths", "2"})),
              "--min-deaths needs --view dashboard");
    EXPECT_EQ(Complaint(watch(site + QStringList{"all", "--min-lines-for-page", "2"})),
              "--min-lines-for-page needs --view dashboard");
    for (const char* option : {"--min-kills", "--min-deaths", "--min-lines-for-page"}) {
        const QlaRun wrong = watch(site + QStringList{"dashboard", option, "-1"});
        const QlaRun exported = Qla({"export", Path("game.log"), "--view", "dashboard", "--format",
                                     "html", "--output", Path("out"), option, "-1"});
        EXPECT_EQ(wrong.status, 2);
        EXPECT_EQ(Complaint(wrong), std::string(option) + " takes a whole number >= 0");
        EXPECT_EQ(Complaint(wrong), Complaint(exported));
    }
}

// Names in any case pass the view and format checks: the refusal that follows is the next
// check's (the log is the database itself), so the watch never starts.
TEST_F(WatchOptionsTest, ViewsAndFormatsAreNamedInAnyCase) {
    for (const char* view : {"DASHBOARD", "Dashboard", "ALL"}) {
        const QlaRun run = Qla({"watch", Path("stats.db"), "--db", Path("stats.db"), "--site",
                                Path("site"), "--view", view, "--format", "Html"});
        EXPECT_EQ(run.status, 2) << view;
        EXPECT_NE(run.err.find("is the statistics database itself"), std::string::npos)
            << view << ": " << run.err;
    }
}

TEST_F(WatchOptionsTest, HelpNamesEveryViewThatWritesASite) {
    const QlaRun help = Qla({"watch", "--help"});
    EXPECT_EQ(help.status, 0);
    const std::string viewLine = help.out.substr(help.out.find("--view VIEW"));
    const std::string described = viewLine.substr(0, viewLine.find("--format"));
    for (const char* view : {"all", "dashboard"})
        EXPECT_NE(described.find(view), std::string::npos) << view << " in: " << described;
    for (const char* option : {"--min-kills N", "--min-deaths N", "--min-lines-for-page N"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

} // namespace
} // namespace qla::cli
