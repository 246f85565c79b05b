// qla export: usage errors, the page's controls as options, single files and the whole site.
#include "cli/export_command.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qla {
namespace {

namespace fs = std::filesystem;

struct ExportRun {
    int status;
    std::string out, err;
};

ExportRun Export(QStringList options) {
    options.prepend(QStringLiteral("export"));
    options.prepend(QStringLiteral("qla"));
    std::ostringstream out, err;
    const int status = RunExportCommand(options, out, err);
    return {status, out.str(), err.str()};
}

std::string Read(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// The first player page a site's data.json names ("page"), or empty.
std::string FirstPlayerPage(const std::string& data) {
    const std::string key = "\"page\":\"";
    const std::size_t at = data.find(key);
    if (at == std::string::npos)
        return {};
    const std::size_t from = at + key.size();
    return data.substr(from, data.find('"', from) - from);
}

// Bob dies by Al's MP40, Al teamkills Bob, ^1Carl chats; players in that order.
const std::string kLog = "logfile opened on Mon Dec 07 04:32:33 2026\r\n"
                         "[skipnotify]Bob was killed by Al's MP40\r\n"
                         "[skipnotify]Bob^7 WAS KILLED BY TEAMMATE^7 Al\r\n"
                         "[skipnotify]^1Carl^7: ^2hello there\r\n"
                         "loading map\r\n";

class ExportCommandTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        log_ = dir_.filePath(QStringLiteral("game.log"));
        std::ofstream(log_.toStdString(), std::ios::binary) << kLog;
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir_;
    QString log_;
};

// Slips are forgiven or named: views and formats in any case, the nearest valid name suggested,
// \t for a tab, the written path printed, and the stored names a mistyped player resembles.
TEST_F(ExportCommandTest, FriendlyToTypingSlips) {
    const QString out = Path("out.txt");
    const ExportRun upper = Export(
        {log_, "--view", "Standard", "--format", "TEXT", "--output", out, "--separator", "\\t"});
    EXPECT_EQ(upper.status, 0) << upper.err;
    EXPECT_EQ(upper.out, out.toStdString() + "\n");
    EXPECT_EQ(Read(out).substr(0, 17), "Playername\tKills\t");

    const ExportRun view = Export({log_, "--view", "standrd", "--format", "html", "--output", out});
    EXPECT_EQ(view.status, 2);
    EXPECT_NE(view.err.find("unknown view 'standrd' (did you mean 'standard'?)"), std::string::npos)
        << view.err;
    const ExportRun far = Export({log_, "--view", "scores", "--format", "html", "--output", out});
    EXPECT_EQ(far.err.find("did you mean"), std::string::npos) << far.err;
    const ExportRun option =
        Export({log_, "--view", "standard", "--format", "html", "--ouptut", out});
    EXPECT_EQ(option.status, 2);
    EXPECT_NE(option.err.find("Did you mean --output?"), std::string::npos) << option.err;
    const ExportRun language = Export(
        {log_, "--view", "standard", "--format", "html", "--output", out, "--language", "germen"});
    EXPECT_NE(language.err.find("(did you mean 'german'?)"), std::string::npos) << language.err;

    const ExportRun player =
        Export({log_, "--view", "player", "--format", "text", "--output", out, "--player", "carl"});
    EXPECT_EQ(player.status, 1);
    EXPECT_EQ(player.err,
              "qla export: no player is stored as 'carl' (stored names like it: '^1Carl')\n");
    EXPECT_EQ(player.out, "");
}

TEST_F(ExportCommandTest, UsageErrorsExitWithTwoAndWriteNothing) {
    const QString out = Path("out.file");
    const QStringList base{log_, "--output", out};
    const QStringList cases[] = {
        {log_, "--view", "standard", "--format", "text"}, // no --output
        {log_, "--format", "text", "--output", out},      // no --view
        {"--view", "standard", "--format", "text", "--output", out},
        base + QStringList{"--view", "scores", "--format", "text"},
        base + QStringList{"--view", "standard", "--format", "pdf"},
        base + QStringList{"--view", "player", "--format", "xml", "--player", "Al"},
        base + QStringList{"--view", "all", "--format", "text"},
        base + QStringList{"--view", "standard", "--format", "html", "--separator", ";"},
        base + QStringList{"--view", "standard", "--format", "xml", "--no-header"},
        base + QStringList{"--view", "standard", "--format", "text", "--player", "Al"},
        base + QStringList{"--view", "voice", "--format", "text", "--order", "1"},
        base + QStringList{"--view", "text", "--format", "html", "--descending"},
        base + QStringList{"--view", "junk", "--format", "text", "--checks", "0"},
        base + QStringList{"--view", "standard", "--format", "text", "--checks", "5"},
        base + QStringList{"--view", "standard", "--format", "text", "--checks", "a"},
        base +
            QStringList{"--view", "player", "--format", "text", "--player", "Al", "--checks", "6"},
        base + QStringList{"--view", "standard", "--format", "text", "--order", "6"},
        base +
            QStringList{"--view", "player", "--format", "text", "--player", "Al", "--order", "3"},
        base + QStringList{"--view", "player", "--format", "text"},
        base + QStringList{"--view", "standard", "--format", "html", "--if-exists", "skip"},
        base + QStringList{"--view", "all", "--format", "html", "--if-exists", "ask"},
        base + QStringList{"--view", "standard", "--format", "text", "--language", "klingon"},
        base + QStringList{"--view", "standard", "--format", "text", "--colour"},
        base + QStringList{"--view", "standard", "--format", "text", "second.log"},
    };
    for (const QStringList& arguments : cases) {
        const ExportRun run = Export(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
        EXPECT_FALSE(fs::exists(out.toStdString())) << arguments.join(' ').toStdString();
    }
    EXPECT_NE(Export(cases[3]).err.find("Usage: qla export LOG"), std::string::npos);
}

TEST_F(ExportCommandTest, HelpGoesToStandardOutput) {
    const ExportRun run = Export({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("Usage: qla export LOG --view VIEW", 0), 0u);
}

TEST_F(ExportCommandTest, StandardTextWithTheStartUpState) {
    const QString out = Path("standard.txt");
    const ExportRun run = Export({log_, "--view", "standard", "--format", "text", "--output", out});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Read(out), "Playername,Kills,Deaths,Kill/Death Ratio,TeamKills\r\n"
                         "Bob,0,1,0,0\r\n"
                         "Al,1,0,1,1\r\n"
                         "^1Carl,0,0,0,0\r\n");
}

TEST_F(ExportCommandTest, TextOptionsOrderAndDirection) {
    const QString out = Path("names.txt");
    const ExportRun run = Export({log_, "--view", "standard", "--format", "text", "--output", out,
                                  "--order", "0", "--descending", "--checks", "0,1", "--separator",
                                  ";", "--no-header", "--remove-colors"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Read(out), "Carl;0\r\nBob;0\r\nAl;1\r\n");
}

// Boxes and orders by name give what their indexes give, in any case and mixed with indexes;
// a mistyped name is refused with the nearest name and the view's list; help lists the names.
TEST_F(ExportCommandTest, ChecksAndOrderByName) {
    const QString byIndex = Path("by-index.txt"), byName = Path("by-name.txt");
    ASSERT_EQ(Export({log_, "--view", "standard", "--format", "text", "--output", byIndex,
                      "--order", "1", "--descending", "--checks", "0,1,3"})
                  .status,
              0);
    const ExportRun named =
        Export({log_, "--view", "standard", "--format", "text", "--output", byName, "--order",
                "Kills", "--descending", "--checks", "name, KILLS,3"});
    ASSERT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(Read(byName), Read(byIndex));
    EXPECT_EQ(Read(byName),
              "Playername,Kills,Kill/Death Ratio\r\nAl,1,1\r\n^1Carl,0,0\r\nBob,0,0\r\n");

    const QString weapons = Path("weapons.txt");
    ASSERT_EQ(Export({log_, "--view", "weapons", "--format", "text", "--output", weapons,
                      "--checks", "weapon,most-kills-by", "--order", "standard"})
                  .status,
              0);
    const std::string weaponRows = Read(weapons);
    EXPECT_EQ(weaponRows.rfind("Weapon,Most kills\r\n", 0), 0u) << weaponRows;
    EXPECT_NE(weaponRows.find("\r\nMP40,Al\r\n"), std::string::npos) << weaponRows;

    const ExportRun slip = Export({log_, "--view", "standard", "--format", "text", "--output",
                                   byName, "--checks", "name,kils"});
    EXPECT_EQ(slip.status, 2);
    EXPECT_NE(slip.err.find("--checks: unknown box 'kils' (did you mean 'kills'?); view standard "
                            "takes name, kills, deaths, ratio, teamkills, indexes 0 to 4 or none"),
              std::string::npos)
        << slip.err;
    const ExportRun order = Export({log_, "--view", "player", "--format", "text", "--player", "Al",
                                    "--output", byName, "--order", "kills"});
    EXPECT_EQ(order.status, 2);
    EXPECT_NE(order.err.find("--order: unknown order 'kills'; view player takes name, number, "
                             "appearance, indexes 0 to 2"),
              std::string::npos)
        << order.err;
    for (const char* empty : {"", "name,,kills"}) {
        EXPECT_EQ(Export({log_, "--view", "standard", "--format", "text", "--output", byName,
                          "--checks", empty})
                      .status,
                  2)
            << empty;
    }

    const std::string help = Export({"--help"}).out;
    for (const char* listed : {"0 name, 1 kills, 2 deaths, 3 ratio, 4 teamkills",
                               "5 appearance (default)", "2 suicides", "3 most-kills-by"})
        EXPECT_NE(help.find(listed), std::string::npos) << listed << "\n" << help;
}

TEST_F(ExportCommandTest, ChatWithoutChatTypesWritesTheHeadingRowOnly) {
    const QString out = Path("text.txt");
    ASSERT_EQ(
        Export({log_, "--view", "text", "--format", "text", "--output", out, "--checks", "0,1,2"})
            .status,
        0);
    EXPECT_EQ(Read(out), "Player,Location,Text\r\n");
    ASSERT_EQ(
        Export({log_, "--view", "text", "--format", "text", "--output", out, "--checks", "none"})
            .status,
        0);
    EXPECT_EQ(Read(out), "\r\n");
}

TEST_F(ExportCommandTest, XmlOfTheStandardTable) {
    const QString out = Path("stats.xml");
    ASSERT_EQ(Export({log_, "--view", "standard", "--format", "xml", "--output", out, "--order",
                      "1", "--descending"})
                  .status,
              0);
    const std::string xml = Read(out);
    EXPECT_EQ(xml.rfind("<?xml version='1.0' encoding='UTF-8'?><statistics>\r\n<player "
                        "number='3'>\r\n<playername>Al</playername>\r\n",
                        0),
              0u);
    EXPECT_EQ(std::count(xml.begin(), xml.end(), '\n'), 2 + 7 * 3);
}

TEST_F(ExportCommandTest, PlayerPageByExactStoredName) {
    const QString out = Path("al.html");
    const ExportRun run = Export({log_, "--view", "player", "--format", "html", "--output", out,
                                  "--player", "Al", "--title", "^2Cup"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string page = Read(out);
    EXPECT_NE(page.find("<title>Al - Cup - https://quarvel.example.org</title>"),
              std::string::npos);
    EXPECT_NE(page.find("<td class='name'>Bob</td><td class='nr'>1</td>"), std::string::npos);
    EXPECT_TRUE(fs::exists(Path("style.css").toStdString()));

    for (const char* name : {"al", "Carl", "Al^7", ""}) {
        const QString missing = Path("missing.html");
        const ExportRun none = Export(
            {log_, "--view", "player", "--format", "text", "--output", missing, "--player", name});
        EXPECT_EQ(none.status, 1) << name;
        EXPECT_NE(none.err.find("no player is stored as"), std::string::npos);
        EXPECT_FALSE(fs::exists(missing.toStdString()));
    }
}

// The causes only full recognition tells apart show in the self kills of the player page, and
// only when the log was analysed in full mode.
TEST_F(ExportCommandTest, FullRecognitionCausesOnThePlayerPage) {
    const QString log = Path("deaths.log");
    std::ofstream(log.toStdString(), std::ios::binary)
        << "[skipnotify]Bob^7 was crushed.\r\n[skipnotify]Bob^7 died.\r\n"
           "[skipnotify]Bob^7 slit his own throat.\r\n";
    const QString classic = Path("classic.html");
    const QString full = Path("full.html");
    const QStringList common{"--view", "player", "--format", "html", "--player", "Bob"};
    ASSERT_EQ(Export(QStringList{log, "--output", classic} + common).status, 0);
    ASSERT_EQ(Export(QStringList{log, "--output", full, "--recognition", "full"} + common).status,
              0);
    const std::string classicPage = Read(classic);
    const std::string fullPage = Read(full);
    EXPECT_NE(classicPage.find(">Died<"), std::string::npos);
    EXPECT_EQ(classicPage.find(">Was crushed<"), std::string::npos);
    EXPECT_NE(fullPage.find(">Died<"), std::string::npos);
    EXPECT_NE(fullPage.find(">Was crushed<"), std::string::npos);
    EXPECT_NE(fullPage.find(">Slit his own throat<"), std::string::npos);
    EXPECT_EQ(Export(QStringList{log, "--output", full, "--recognition", "x"} + common).status, 2);
}

TEST_F(ExportCommandTest, ReplacesAnExistingFileAndUsesTheDefaultTitle) {
    const QString out = Path("weapons.html");
    std::ofstream(out.toStdString()) << "old content that is longer than nothing";
    ASSERT_EQ(Export({log_, "--view", "weapons", "--format", "html", "--output", out}).status, 0);
    const std::string page = Read(out);
    EXPECT_EQ(page.rfind("<html><head><meta charset='utf-8'><title>Weapon Details - "
                         "__type here the game title__ - ",
                         0),
              0u);
    EXPECT_EQ(page.find("old content"), std::string::npos);
}

TEST_F(ExportCommandTest, JunkPageCarriesTheLogDate) {
    const QString out = Path("junk.html");
    ASSERT_EQ(Export({log_, "--view", "junk", "--format", "html", "--output", out}).status, 0);
    EXPECT_NE(Read(out).find("\r\n<h2>Other (junk) export - Mon Dec 07 04:32:33 2026</h2>\r\n"),
              std::string::npos);
}

TEST_F(ExportCommandTest, FailuresExitWithOneAndTheWritersMessage) {
    const QString out = Path("no/such/folder/page.html");
    const ExportRun run = Export({log_, "--view", "standard", "--format", "html", "--output", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Error - 2 - No such file or directory\r\nerrorcode: 5"),
              std::string::npos);

    const ExportRun noLog = Export(
        {Path("absent.log"), "--view", "standard", "--format", "text", "--output", Path("x.txt")});
    EXPECT_EQ(noLog.status, 1);
    EXPECT_FALSE(noLog.err.empty());
}

TEST_F(ExportCommandTest, WholeSite) {
    const QString site = Path("site");
    ASSERT_TRUE(QDir().mkpath(site));
    const ExportRun run = Export({log_, "--view", "all", "--format", "html", "--output", site});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto files = std::distance(fs::directory_iterator(site.toStdString()), {});
    EXPECT_EQ(files, 2 * 3 + 11 + 1); // and the site's marker

    // skip keeps what is there; a page that cannot be written does not stop the others
    const std::string index = (site + "/index.html").toStdString();
    std::ofstream(index, std::ios::trunc) << "kept";
    fs::remove(site.toStdString() + "/weapon5.html");
    fs::remove(site.toStdString() + "/index2.html");
    fs::create_directory(site.toStdString() + "/index2.html");
    const ExportRun skip = Export(
        {log_, "--view", "all", "--format", "html", "--output", site, "--if-exists", "skip"});
    EXPECT_EQ(skip.status, 0) << skip.err; // index2.html exists (as a folder), so it is skipped
    EXPECT_EQ(Read(QString::fromStdString(index)), "kept");
    EXPECT_TRUE(fs::exists(site.toStdString() + "/weapon5.html"));

    const ExportRun overwrite =
        Export({log_, "--view", "all", "--format", "html", "--output", site});
    EXPECT_EQ(overwrite.status, 1);
    EXPECT_NE(overwrite.err.find("index2.html: Not written: a folder of that name exists, and "
                                 "only regular files are replaced\n"),
              std::string::npos)
        << overwrite.err;
    EXPECT_NE(Read(QString::fromStdString(index)), "kept");
    EXPECT_NE(Read(site + "/weapon5.html").find("Back to index"), std::string::npos);

    // The command line makes a missing output folder, parents included.
    const QString fresh = Path("new/nested/site");
    const ExportRun made = Export({log_, "--view", "all", "--format", "html", "--output", fresh});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(fs::exists(fresh.toStdString() + "/index.html"));

    // A folder that cannot be made (its parent is a file) is refused before anything is written.
    std::ofstream(Path("plain-file").toStdString()) << "x";
    const ExportRun blocked =
        Export({log_, "--view", "all", "--format", "html", "--output", Path("plain-file/site")});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("cannot create the output folder"), std::string::npos)
        << blocked.err;
    EXPECT_TRUE(blocked.out.empty());
}

TEST_F(ExportCommandTest, JsonCsvAndDashboardRefuseWhatDoesNotApply) {
    const QString out = Path("out.file");
    const auto usage = [&](QStringList options, const std::string& message) {
        options.prepend(log_);
        options << "--output" << out;
        const ExportRun run = Export(options);
        EXPECT_EQ(run.status, 2) << message;
        EXPECT_NE(run.err.find("qla export: " + message + "\n"), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(out.toStdString()));
    };
    usage({"--view", "dashboard", "--format", "csv"},
          "format csv does not apply to view dashboard");
    usage({"--view", "all", "--format", "json"}, "view all needs format html");
    usage({"--view", "standard", "--format", "json", "--checks", "0"},
          "--checks does not apply to view standard with format json");
    usage({"--view", "standard", "--format", "text", "--raw-fields"},
          "--raw-fields does not apply to view standard with format text");
    usage({"--view", "standard", "--format", "csv", "--separator", "\""},
          "--separator: The CSV separator must not hold a quote or a line end.");
    usage({"--view", "standard", "--format", "csv", "--separator", ""},
          "--separator: The CSV separator must not be empty.");
    usage({"--view", "standard", "--format", "html", "--min-kills", "3"},
          "--min-kills does not apply to view standard with format html");
    usage({"--view", "dashboard", "--format", "json", "--min-deaths", "-1"},
          "--min-deaths takes a whole number >= 0");
    usage({"--view", "dashboard", "--format", "html", "--if-exists", "skip"},
          "--if-exists does not apply to view dashboard with format html");
}

// Every file below `folder` but the marker, by relative path, sorted.
std::string ListedFilesOf(const fs::path& folder, const std::string& leaveOut) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).generic_string();
        if (!entry.is_directory() && name != ".qla-site" && name != leaveOut)
            files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    std::string text = "# qla site: the files qla's exports wrote into this folder, one a line\n";
    for (const std::string& file : files)
        text += file + "\n";
    return text;
}

// Both site views mark their folder with what they wrote, and only that; a foreign file of the
// marker's name is left alone and the export fails on it.
TEST_F(ExportCommandTest, SitesCarryAMarkerListingTheFilesTheyWrote) {
    const fs::path site = Path("site").toStdString();
    fs::create_directories(site);
    std::ofstream(site / "notes.txt") << "mine";
    ASSERT_EQ(Export({log_, "--view", "all", "--format", "html", "--output", Path("site")}).status,
              0);
    EXPECT_EQ(Read(Path("site/.qla-site")), ListedFilesOf(site, "notes.txt"));
    EXPECT_NE(Read(Path("site/.qla-site")).find("\nplayer003b.html\n"), std::string::npos);
    EXPECT_EQ(Read(Path("site/notes.txt")), "mine");

    const fs::path dashboard = Path("dashboard").toStdString();
    ASSERT_EQ(
        Export({log_, "--view", "dashboard", "--format", "html", "--output", Path("dashboard")})
            .status,
        0);
    EXPECT_EQ(Read(Path("dashboard/.qla-site")), ListedFilesOf(dashboard, ""));
    const std::string page = FirstPlayerPage(Read(Path("dashboard/data.json")));
    ASSERT_FALSE(page.empty());
    EXPECT_NE(Read(Path("dashboard/.qla-site")).find("\n" + page + "\n"), std::string::npos);

    // A second export into the site keeps listing what the first wrote and is still there.
    fs::remove(site / "weapon5.html");
    ASSERT_EQ(Export({log_, "--view", "all", "--format", "html", "--output", Path("site"),
                      "--if-exists", "skip"})
                  .status,
              0);
    EXPECT_EQ(Read(Path("site/.qla-site")), ListedFilesOf(site, "notes.txt"));

    for (const char* view : {"all", "dashboard"}) {
        const fs::path foreign = Path("foreign").toStdString() + "-" + view;
        fs::create_directories(foreign);
        std::ofstream(foreign / ".qla-site") << "my own notes\n";
        const ExportRun run = Export({log_, "--view", view, "--format", "html", "--output",
                                      QString::fromStdString(foreign.string())});
        EXPECT_EQ(run.status, 1) << view;
        EXPECT_NE(run.err.find(".qla-site: left as it is, as it is not a marker written by qla\n"),
                  std::string::npos)
            << run.err;
        EXPECT_EQ(Read(QString::fromStdString((foreign / ".qla-site").string())), "my own notes\n");
        EXPECT_TRUE(fs::exists(foreign / "index.html")) << view;
    }
}

TEST_F(ExportCommandTest, WritesCsvJsonAndTheSite) {
    const QString csv = Path("players.csv");
    ASSERT_EQ(Export({log_, "--view", "standard", "--format", "csv", "--output", csv, "--separator",
                      ";", "--order", "0"})
                  .status,
              0);
    EXPECT_EQ(Read(csv), "name;visible_name;kills;deaths;ratio;teamkills\r\n"
                         "Al;Al;1;0;1;1\r\n"
                         "Bob;Bob;0;1;0;0\r\n"
                         "^1Carl;Carl;0;0;0;0\r\n");
    const QString json = Path("d.json");
    ASSERT_EQ(Export({log_, "--view", "dashboard", "--format", "json", "--output", json,
                      "--min-kills", "1", "--min-deaths", "0"})
                  .status,
              0);
    const std::string data = Read(json);
    EXPECT_NE(data.find("\"totals\":{\"players\":3,\"kills\":1,\"deaths\":2,"), std::string::npos)
        << data;
    // The thresholds reach the best-ratio list: Al alone has a kill.
    EXPECT_NE(data.find("\"bestRatio\":[2]"), std::string::npos) << data;
    // The run's lines by kind: the date line and "loading map" are none of the kinds counted.
    EXPECT_NE(data.find("\"byKind\":{\"kill\":1,\"tk\":1,\"died\":0,\"vsay\":0,\"say\":1,"),
              std::string::npos)
        << data;
    const QString site = Path("site/sub");
    ASSERT_EQ(Export({log_, "--view", "dashboard", "--format", "html", "--output", site}).status,
              0);
    for (const char* file : {"index.html", "site.css", "site.js", "weapons.html", "voice.html",
                             "text.html", "coverage.html", "data.json"})
        EXPECT_TRUE(fs::exists(fs::path(site.toStdString()) / file)) << file;
    const std::string page = FirstPlayerPage(Read(site + "/data.json"));
    EXPECT_TRUE(!page.empty() && fs::exists(fs::path(site.toStdString()) / page)) << page;
    EXPECT_NE(Read(site + "/index.html")
                  .find("<p class=\"source\">Log game.log, opened on Mon "
                        "Dec 07 04:32:33 2026</p>"),
              std::string::npos);
}

} // namespace
} // namespace qla
