// Bad input and I/O failures through qla, in-process: each ends with exit status 1 and a message
// that says what went wrong, and nothing that was there before is lost.
#include "cli/export_command.h"
#include "cli/qla_app.h"
#include "io_test_support.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "support/child_process.h"

#include <chrono>
#include <cstdio>
#include <sstream>

#include <sys/resource.h>

namespace qla {
namespace {

namespace fs = std::filesystem;
using robust::ReadBytes;
using robust::WriteBytes;

struct Outcome {
    int Status;
    std::string Out, Err;
};

QStringList Arguments(const std::vector<std::string>& args) {
    QStringList list{QStringLiteral("qla")};
    for (const std::string& arg : args)
        list << QString::fromStdString(arg);
    return list;
}

Outcome Qla(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = cli::RunQla(Arguments(args), out, err);
    return {status, out.str(), err.str()};
}

Outcome QlaExport(std::vector<std::string> args) {
    args.insert(args.begin(), "export");
    std::ostringstream out, err;
    const int status = RunExportCommand(Arguments(args), out, err);
    return {status, out.str(), err.str()};
}

class QlaIoFailures : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::path(testing::TempDir()) /
               ("qla_io_" +
                std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        log_ = (dir_ / "game.log").string();
        WriteBytes(log_, robust::kSmallLog);
        file_ = (dir_ / "plain.txt").string();
        WriteBytes(file_, "a regular file");
    }
    void TearDown() override {
        // The log and the regular file are never touched by a failed run.
        EXPECT_EQ(ReadBytes(log_), robust::kSmallLog);
        EXPECT_EQ(ReadBytes(file_), "a regular file");
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
    std::string log_, file_;
};

TEST_F(QlaIoFailures, BadLogsFailWithTheReason) {
    const std::string missing = Path("absent.log");
    const std::string folder = dir_.string();
    struct Case {
        std::vector<std::string> Args;
        std::string Err;
    };
    const Case cases[] = {
        {{"info", missing}, "qla: The file does not exist: " + missing + "\n"},
        {{"analyze", missing}, "qla: The file does not exist: " + missing + "\n"},
        {{"players", folder}, "qla: This is a folder, not a log file: " + folder + "\n"},
        {{"analyze", folder, "--language", "german"},
         "qla: This is a folder, not a log file: " + folder + "\n"},
        {{"player", folder, "Bob"}, "qla: This is a folder, not a log file: " + folder + "\n"},
    };
    for (const Case& c : cases) {
        const Outcome run = Qla(c.Args);
        EXPECT_EQ(run.Status, 1) << c.Args[0];
        EXPECT_EQ(run.Err, c.Err);
        EXPECT_EQ(run.Out, "");
    }
    const Outcome exported =
        QlaExport({missing, "--view", "standard", "--format", "html", "--output", Path("x.html")});
    EXPECT_EQ(exported.Status, 1);
    EXPECT_EQ(exported.Err, "qla: The file does not exist: " + missing + "\n");
    EXPECT_FALSE(fs::exists(Path("x.html")));
}

TEST_F(QlaIoFailures, TenMegabytesOfBinaryAnalyse) {
    const std::string bytes = robust::BinaryBytes(10 * 1024 * 1024);
    const std::string binary = Path("binary.log");
    WriteBytes(binary, bytes);
    const auto start = std::chrono::steady_clock::now();
    for (const char* language : {"english", "german"}) {
        const Outcome run = Qla({"analyze", binary, "--language", language});
        ASSERT_EQ(run.Status, 0) << run.Err;
        EXPECT_NE(run.Out.find("\nTotal: " + std::to_string(robust::LineCountOf(bytes)) + "\n"),
                  std::string::npos)
            << run.Out;
    }
    const Outcome site =
        QlaExport({binary, "--view", "all", "--format", "html", "--output", Path("binary-site")});
    EXPECT_EQ(site.Status, 0) << site.Err;
    // Generous for a sanitizer build on a shared machine; the Release build needs about a second.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(90));
}

struct OutputCase {
    const char* Name;
    std::string Output; // relative to the scratch folder, or absolute
    std::vector<std::string> View;
    std::string Err; // expected message on stderr
};

TEST_F(QlaIoFailures, UnwritableOutputsFailWithTheWritersMessage) {
    const std::string noFolder = "no/such/folder/out.html";
    const std::string underFile = "plain.txt/out.html";
    const OutputCase cases[] = {
        {"missing folder, html",
         noFolder,
         {"--view", "standard", "--format", "html"},
         "Error - 2 - No such file or directory\r\nerrorcode: 5"},
        {"missing folder, text",
         noFolder,
         {"--view", "weapons", "--format", "text"},
         "Error - 2 - No such file or directory\r\nerrorcode: 5"},
        {"missing folder, xml",
         noFolder,
         {"--view", "standard", "--format", "xml"},
         "Error - 2 - No such file or directory\r\nerrorcode: 0"},
        {"under a file, html",
         underFile,
         {"--view", "voice", "--format", "html"},
         "Error - 20 - Not a directory\r\nerrorcode: 5"},
        {"under a file, text",
         underFile,
         {"--view", "text", "--format", "text"},
         "Error - 20 - Not a directory\r\nerrorcode: 0"},
        // A device is not a file to replace; nothing is written to it.
        {"device, html",
         "/dev/full",
         {"--view", "standard", "--format", "html"},
         "Not written: a device of that name exists, and only regular files are replaced"},
        {"device, xml",
         "/dev/null",
         {"--view", "standard", "--format", "xml"},
         "Not written: a device of that name exists, and only regular files are replaced"},
        {"the log itself",
         "game.log",
         {"--view", "junk", "--format", "text"},
         "Not written: that file is the log being analysed"},
    };
    for (const OutputCase& c : cases) {
        std::vector<std::string> args{log_};
        args.insert(args.end(), c.View.begin(), c.View.end());
        const std::string output = c.Output.starts_with('/') ? c.Output : Path(c.Output);
        args.insert(args.end(), {"--output", output});
        const Outcome run = QlaExport(args);
        EXPECT_EQ(run.Status, 1) << c.Name;
        EXPECT_EQ(run.Err, "qla export: " + output + ": " + c.Err + "\n") << c.Name;
    }
    EXPECT_FALSE(fs::exists(Path("no")));
    EXPECT_FALSE(fs::exists("/dev/style.css"));
}

TEST_F(QlaIoFailures, SiteFolderThatCannotBeMadeIsRefused) {
    const std::string underFile = file_ + "/site";
    const Outcome run =
        QlaExport({log_, "--view", "all", "--format", "html", "--output", underFile});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err,
              "qla export: cannot create the output folder " + underFile + ": Not a directory\n");
}

TEST_F(QlaIoFailures, ExistingStyleSheetIsNeverReplaced) {
    WriteBytes(Path("style.css"), "my own style");
    const Outcome page =
        QlaExport({log_, "--view", "standard", "--format", "html", "--output", Path("page.html")});
    EXPECT_EQ(page.Status, 0) << page.Err;
    const Outcome site =
        QlaExport({log_, "--view", "all", "--format", "html", "--output", dir_.string()});
    EXPECT_EQ(site.Status, 0) << site.Err;
    EXPECT_EQ(ReadBytes(Path("style.css")), "my own style");
    EXPECT_TRUE(robust::IsCompletePage(ReadBytes(Path("page.html"))));
}

TEST_F(QlaIoFailures, FailedSitePagesLeaveTheOthersWritten) {
    const fs::path site = dir_ / "site";
    fs::create_directories(site / "index3.html");
    fs::create_directories(site / "player002b.html");
    const Outcome run =
        QlaExport({log_, "--view", "all", "--format", "html", "--output", site.string()});
    EXPECT_EQ(run.Status, 1);
    const std::string refused =
        "Not written: a folder of that name exists, and only regular files are replaced\n";
    EXPECT_EQ(run.Err,
              "qla export: index3.html: " + refused + "qla export: player002b.html: " + refused);
    for (const std::string& name : robust::SiteFiles(robust::kSmallLogPlayers)) {
        if (name == "index3.html" || name == "player002b.html") {
            EXPECT_TRUE(fs::is_directory(site / name));
        } else if (name != "style.css") {
            EXPECT_TRUE(robust::IsCompletePage(ReadBytes(site / name))) << name;
        }
    }
    EXPECT_TRUE(fs::is_regular_file(site / "style.css"));
}

TEST_F(QlaIoFailures, FullDiskKeepsTheOldFiles) {
    // The disk fills up mid-file (a file-size limit in a child process): the error is reported,
    // and the page and site written before stay whole.
    const std::string page = Path("page.html");
    const fs::path site = dir_ / "site";
    ASSERT_EQ(QlaExport({log_, "--view", "standard", "--format", "html", "--output", page}).Status,
              0);
    ASSERT_EQ(
        QlaExport({log_, "--view", "all", "--format", "html", "--output", site.string()}).Status,
        0);
    const std::string oldPage = ReadBytes(page), oldIndex = ReadBytes(site / "index.html");
    const int status = test::RunInChild([&] {
        const rlimit limit{100, 100};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 2;
        // qla ignores SIGXFSZ itself, so the limit fails the write instead of killing it.
        const Outcome one = Qla({"export", log_, "--view", "standard", "--format", "html",
                                 "--output", page, "--title", "new"});
        const Outcome all = Qla({"export", log_, "--view", "all", "--format", "html", "--output",
                                 site.string(), "--title", "new"});
        const bool ok =
            one.Status == 1 &&
            one.Err == "qla export: " + page + ": Error - 27 - File too large\r\nerrorcode: 10\n" &&
            all.Status == 1 &&
            all.Err.find("index.html: Error - 27 - File too large") != std::string::npos;
        if (!ok)
            std::fprintf(stderr, "%d %s%d %s", one.Status, one.Err.c_str(), all.Status,
                         all.Err.c_str());
        return ok ? 0 : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadBytes(page), oldPage);
    EXPECT_EQ(ReadBytes(site / "index.html"), oldIndex);
    for (const auto& entry : fs::directory_iterator(dir_))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".qla-"));
    for (const auto& entry : fs::directory_iterator(site)) // the site's marker belongs there
        EXPECT_FALSE(entry.path().filename().string().starts_with(".qla-") &&
                     entry.path().filename() != ".qla-site");
}

TEST_F(QlaIoFailures, ControlCharactersReachTheTerminalAsEscapes) {
    // A name that would retitle the terminal and ring its bell, a chat that would clear it.
    static constexpr char kLog[] = "[skipnotify]Bo\x1b]0;owned\x07"
                                   "b was killed by Al's MP40\r\n"
                                   "[skipnotify]Al^7: ^2\x1b[2J\0gone\r\n";
    const std::string log = Path("controls.log");
    WriteBytes(log, std::string(kLog, sizeof kLog - 1));
    const Outcome players = Qla({"players", log});
    EXPECT_EQ(players.Status, 0) << players.Err;
    EXPECT_EQ(players.Out, "Bo\\x1b]0;owned\\x07b\nAl\n");
    const Outcome player = Qla({"player", log,
                                "Bo\x1b]0;owned\x07"
                                "b"});
    EXPECT_EQ(player.Status, 0) << player.Err;
    EXPECT_TRUE(player.Out.starts_with("Player: Bo\\x1b]0;owned\\x07b\n")) << player.Out;
    const std::string missing = Path("a\x1b[2Jb.log");
    const Outcome absent = Qla({"analyze", missing});
    EXPECT_EQ(absent.Err, "qla: The file does not exist: " + Path("a\\x1b[2Jb.log") + "\n");

    // The pages and text files get U+FFFD instead, and no control byte at all.
    for (const auto& [view, format] : {std::pair{"standard", "html"},
                                       {"text", "html"},
                                       {"text", "text"},
                                       {"standard", "text"}}) {
        const std::string out = Path(std::string("controls-") + view + "." + format);
        ASSERT_EQ(QlaExport({log, "--view", view, "--format", format, "--output", out}).Status, 0);
        const std::string written = ReadBytes(out);
        EXPECT_NE(written.find("\xEF\xBF\xBD"), std::string::npos) << out;
        for (const char c : written)
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\r' || c == '\n')
                << out << " holds byte " << int(c);
    }
}

} // namespace
} // namespace qla
