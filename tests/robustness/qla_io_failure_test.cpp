// Bad input and I/O failures through qla, in-process: each ends with exit status 1 and a message
// that says what went wrong, and nothing that was there before is lost.
#include "cli/export_command.h"
#include "cli/qla_app.h"
#include "io_test_support.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <chrono>
#include <sstream>

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
    const std::string noFolder = Path("no/such/folder/out.html");
    const std::string underFile = file_ + "/out.html";
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
        {"full disk, html",
         "/dev/full",
         {"--view", "standard", "--format", "html"},
         "Error - 28 - No space left on device\r\nerrorcode: 10"},
        // The junk page has no stages of its own.
        {"full disk, junk",
         "/dev/full",
         {"--view", "junk", "--format", "html"},
         "Error - 28 - No space left on device\r\nerrorcode: 0"},
        {"full disk, text",
         "/dev/full",
         {"--view", "standard", "--format", "text"},
         "Error - 28 - No space left on device\r\nerrorcode: 10"},
        {"full disk, xml",
         "/dev/full",
         {"--view", "standard", "--format", "xml"},
         "Error - 28 - No space left on device\r\nerrorcode: 0"},
    };
    for (const OutputCase& c : cases) {
        std::vector<std::string> args{log_};
        args.insert(args.end(), c.View.begin(), c.View.end());
        args.insert(args.end(), {"--output", c.Output});
        const Outcome run = QlaExport(args);
        EXPECT_EQ(run.Status, 1) << c.Name;
        EXPECT_EQ(run.Err, "qla export: " + c.Output + ": " + c.Err + "\n") << c.Name;
    }
    EXPECT_FALSE(fs::exists(Path("no")));
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
    EXPECT_EQ(run.Err, "qla export: index3.html: Error - 21 - Is a directory\r\nerrorcode: 5\n"
                       "qla export: player002b.html: Error - 21 - Is a directory\r\n"
                       "errorcode: 5\n");
    for (const std::string& name : robust::SiteFiles(robust::kSmallLogPlayers)) {
        if (name == "index3.html" || name == "player002b.html") {
            EXPECT_TRUE(fs::is_directory(site / name));
        } else if (name != "style.css") {
            EXPECT_TRUE(robust::IsCompletePage(ReadBytes(site / name))) << name;
        }
    }
    EXPECT_TRUE(fs::is_regular_file(site / "style.css"));
}

} // namespace
} // namespace qla
