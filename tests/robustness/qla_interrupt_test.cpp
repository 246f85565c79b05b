// The real qla program interrupted, run twice at once and held to a memory limit: a site is
// always made of whole pages (old or new, never cut), a signal leaves no temporary file, the
// second of two runs into one folder is refused, and a log larger than the memory allowed is
// refused with a message instead of aborting.
#include "generator.h"
#include "io_test_support.h"

#include "support/sanitized_build.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qla {
namespace {

namespace fs = std::filesystem;
using robust::ReadBytes;
using robust::WriteBytes;

// Starts `argv` with stdout and stderr going to `output`; returns its process id.
pid_t Start(const std::vector<std::string>& argv, const fs::path& output) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(fd, 1);
        ::dup2(fd, 2);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    return child;
}

// Exit status, or 128 + signal.
int Wait(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Runs a shell command line; exit status as Wait() gives it.
int Shell(const std::string& command, const fs::path& output) {
    return Wait(Start({"/bin/sh", "-c", command}, output));
}

std::vector<std::string> ExportSite(const fs::path& log, const fs::path& folder,
                                    const std::string& title) {
    // The recognition is chosen, so that standard error holds only what the test expects.
    return {QLA_BINARY, "export",        log.string(), "--view",        "all",
            "--format", "html",          "--output",   folder.string(), "--title",
            title,      "--recognition", "classic"};
}

std::vector<std::string> Leftovers(const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".") && name != ".qla-site") // the marker of a finished site
            found.push_back(name);
    }
    return found;
}

// True once some regular file lies under `folder`, at any depth.
bool HoldsAFile(const fs::path& folder) {
    std::error_code code;
    for (fs::recursive_directory_iterator it(folder, code), end; !code && it != end;
         it.increment(code))
        if (it->is_regular_file(code))
            return true;
    return false;
}

class QlaInterrupted : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        // Enough players that writing the site takes a while, so a signal lands mid-site.
        dir_ = new fs::path(fs::path(testing::TempDir()) /
                            ("qla_interrupted_" + std::to_string(::getpid())));
        fs::remove_all(*dir_);
        fs::create_directories(*dir_);
        loggen::Options options;
        options.players = kPlayers;
        options.lines = 60000;
        options.seed = 11;
        std::ostringstream log;
        ASSERT_TRUE(loggen::generateLog(options, log));
        WriteBytes(*dir_ / "game.log", log.str());
        for (const char* title : {"OLD", "NEW"}) {
            const fs::path folder = *dir_ / (std::string("reference-") + title);
            ASSERT_EQ(Wait(Start(ExportSite(*dir_ / "game.log", folder, title), *dir_ / "out")), 0)
                << ReadBytes(*dir_ / "out");
        }
    }
    static void TearDownTestSuite() {
        fs::remove_all(*dir_);
        delete dir_;
    }

    // Writes the OLD site into `folder`, starts writing the NEW one, and sends `signal` once the
    // first new page is there. Returns the exit status.
    int InterruptNewSite(const fs::path& folder, int signal) {
        fs::copy(*dir_ / "reference-OLD", folder, fs::copy_options::recursive);
        const std::string oldIndex = ReadBytes(folder / "index.html");
        const pid_t child = Start(ExportSite(*dir_ / "game.log", folder, "NEW"), *dir_ / "out");
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (ReadBytes(folder / "index.html") == oldIndex &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        ::kill(child, signal);
        return Wait(child);
    }

    // Every page of the site is the old one or the new one, whole.
    void ExpectOnlyWholePages(const fs::path& folder) {
        int newPages = 0, oldPages = 0;
        for (const std::string& name : robust::SiteFiles(kPlayers)) {
            const std::string page = ReadBytes(folder / name);
            const std::string oldPage = ReadBytes(*dir_ / "reference-OLD" / name);
            const std::string newPage = ReadBytes(*dir_ / "reference-NEW" / name);
            if (page == newPage)
                ++newPages;
            else if (page == oldPage)
                ++oldPages;
            else
                ADD_FAILURE() << name << " is neither the old nor the new page";
        }
        // The signal came mid-site: some pages are already new, some still old.
        EXPECT_GT(newPages, 0);
        EXPECT_GT(oldPages, 0);
    }

    static constexpr int kPlayers = 3000;
    static fs::path* dir_;
};

fs::path* QlaInterrupted::dir_ = nullptr;

TEST_F(QlaInterrupted, SigintLeavesWholePagesAndNoTemporaryFile) {
    const fs::path folder = test::ScratchDir() / "site";
    EXPECT_EQ(InterruptNewSite(folder, SIGINT), 128 + SIGINT);
    ExpectOnlyWholePages(folder);
    EXPECT_EQ(Leftovers(folder), std::vector<std::string>{});
}

TEST_F(QlaInterrupted, SigkillLeavesWholePagesAndTheNextRunCompletes) {
    const fs::path folder = test::ScratchDir() / "site";
    EXPECT_EQ(InterruptNewSite(folder, SIGKILL), 128 + SIGKILL);
    ExpectOnlyWholePages(folder);
    // A killed run cannot clean up, but its lock dies with it: the next run is not refused.
    ASSERT_EQ(Wait(Start(ExportSite(*dir_ / "game.log", folder, "NEW"), *dir_ / "out")), 0)
        << ReadBytes(*dir_ / "out");
    for (const std::string& name : robust::SiteFiles(kPlayers))
        EXPECT_EQ(ReadBytes(folder / name), ReadBytes(*dir_ / "reference-NEW" / name)) << name;
}

// A signal in the middle of a new statistics site leaves only whole player pages and no
// temporary files.
TEST_F(QlaInterrupted, SigintDuringANewStatisticsSiteLeavesOnlyWholePlayerPages) {
    const auto dashboard = [&](const fs::path& folder) {
        return std::vector<std::string>{QLA_BINARY, "export",    (*dir_ / "game.log").string(),
                                        "--view",   "dashboard", "--format",
                                        "html",     "--output",  folder.string()};
    };
    const fs::path reference = test::ScratchDir("reference") / "site";
    ASSERT_EQ(Wait(Start(dashboard(reference), *dir_ / "out")), 0) << ReadBytes(*dir_ / "out");
    const fs::path folder = test::ScratchDir() / "site";
    const pid_t child = Start(dashboard(folder), *dir_ / "out");
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    // A first player page means the run is among the player pages (in folders of their own, as
    // the site has many players).
    while (!HoldsAFile(folder / "players") && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    ASSERT_LT(std::chrono::steady_clock::now(), until) << "no player page was written";
    ::kill(child, SIGINT);
    const int status = Wait(child);
    EXPECT_TRUE(status == 128 + SIGINT || status == 0) << status;

    int pages = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder / "players")) {
        if (entry.is_directory()) {
            EXPECT_EQ(Leftovers(entry.path()), std::vector<std::string>{});
            continue;
        }
        const fs::path name = fs::relative(entry.path(), folder);
        EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(reference / name)) << name;
        ++pages;
    }
    EXPECT_GT(pages, 0);
    if (status == 128 + SIGINT) { // it came mid-site
        EXPECT_LT(pages, kPlayers);
    }
    EXPECT_EQ(Leftovers(folder), std::vector<std::string>{});
    EXPECT_EQ(Leftovers(folder / "players"), std::vector<std::string>{});
}

TEST_F(QlaInterrupted, TwoRunsIntoOneFolderNeverMixTheirPages) {
    const fs::path folder = test::ScratchDir() / "site";
    fs::create_directories(folder);
    const pid_t first = Start(ExportSite(*dir_ / "game.log", folder, "NEW"), *dir_ / "first");
    const pid_t second = Start(ExportSite(*dir_ / "game.log", folder, "NEW"), *dir_ / "second");
    const int statuses[] = {Wait(first), Wait(second)};
    const std::string outputs[] = {ReadBytes(*dir_ / "first"), ReadBytes(*dir_ / "second")};
    for (int i = 0; i < 2; ++i) {
        if (statuses[i] != 0) {
            EXPECT_EQ(statuses[i], 1);
            EXPECT_EQ(outputs[i], "qla export: " + folder.string() +
                                      ": Another export is writing into this folder; try again "
                                      "when it has finished\n");
        }
    }
    EXPECT_TRUE(statuses[0] == 0 || statuses[1] == 0);
    for (const std::string& name : robust::SiteFiles(kPlayers))
        EXPECT_EQ(ReadBytes(folder / name), ReadBytes(*dir_ / "reference-NEW" / name)) << name;
    EXPECT_EQ(Leftovers(folder), std::vector<std::string>{});
}

class QlaUnderAMemoryLimit : public testing::Test {
  protected:
    void SetUp() override {
        if (kSanitized)
            GTEST_SKIP() << "the sanitizers need more address space than the limit allows";
    }
    // `qla ARGS` under `ulimit -v` of `megabytes`; exit status, with stdout and stderr in
    // Output().
    int QlaLimited(const std::string& args, int megabytes = 1024) {
        return Shell("ulimit -v " + std::to_string(megabytes * 1024) + " && exec '" +
                         std::string(QLA_BINARY) + "' " + args,
                     dir_ / "out");
    }
    std::string Output() { return ReadBytes(dir_ / "out"); }

    fs::path dir_ = test::ScratchDir();
};

TEST_F(QlaUnderAMemoryLimit, ALogLargerThanTheLimitIsRefusedWithTheMessage) {
    const fs::path huge = dir_ / "huge.log";
    WriteBytes(huge, robust::kSmallLog);
    ASSERT_EQ(::truncate(huge.c_str(), off_t{40} << 30), 0); // 40 GB, sparse
    for (const std::string command : {"analyze", "players"}) {
        EXPECT_EQ(QlaLimited(command + " '" + huge.string() + "'"), 1) << command;
        EXPECT_EQ(Output(), "qla: The file is too large to open: " + huge.string() + "\n");
    }
    EXPECT_EQ(QlaLimited("export '" + huge.string() + "' --view standard --format html --output '" +
                         (dir_ / "out.html").string() + "'"),
              1);
    EXPECT_EQ(Output(), "qla: The file is too large to open: " + huge.string() + "\n");
}

TEST_F(QlaUnderAMemoryLimit, AnAllocationThatFailsLateIsStillAMessage) {
    // 16 MB of empty lines fit, but their line table (16 bytes a line) does not: the allocation
    // fails while the lines are split, after the size check let the file through.
    const fs::path lines = dir_ / "lines.log";
    WriteBytes(lines, std::string(16 << 20, '\n'));
    EXPECT_EQ(QlaLimited("analyze '" + lines.string() + "'", 256), 1);
    EXPECT_EQ(Output(), "qla: The file is too large to open: " + lines.string() + "\n");
}

TEST_F(QlaUnderAMemoryLimit, InfoCountsALogLargerThanTheLimit) {
    const fs::path big = dir_ / "big.log";
    WriteBytes(big, "logfile opened on today\r\nsecond\r\n");
    ASSERT_EQ(::truncate(big.c_str(), off_t{384} << 20), 0); // sparse: zeros after line 2
    EXPECT_EQ(QlaLimited("info '" + big.string() + "'", 256), 0) << Output();
    EXPECT_EQ(Output(), "File: " + big.string() + "\nLines: 3\nDate: today\n");
}

} // namespace
} // namespace qla
