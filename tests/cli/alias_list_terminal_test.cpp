// qla alias list: tab-separated rows for a pipe or a file, and on a terminal each player's names
// one per line under him. The terminal is a real pseudo-terminal around the qla program.
#include "cli/qla_app.h"
#include "qla_run.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include <cerrno>
#include <fstream>
#include <optional>
#include <pty.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace qla::cli {
namespace {

// ^1Bob, bob, BOB and (renamed) Robert are one player; a name holds a tab, another a backslash.
const std::string kLog = "[skipnotify]^1Bob^7 was killed by Al^7's MP40\n"
                         "[skipnotify]Al^7 was killed by bob^7's Sten\n"
                         "[skipnotify]BOB^7: ^2hello\n"
                         "[skipnotify]bob^7 renamed to Robert\n"
                         "[skipnotify]Robert^7 was killed by ^1Bob^7's MP40\n"
                         "[skipnotify]Tab\tby^7: ^2hi\n"
                         "[skipnotify]back\\slash^7: ^2hi\n";

struct Run {
    int status = -1;
    std::string out;
};

// qla with its standard output (and error) on a pseudo-terminal in raw mode, so that the bytes
// read are the bytes written.
std::optional<Run> OnTerminal(const std::vector<std::string>& arguments) {
    termios raw{};
    ::cfmakeraw(&raw);
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, &raw, nullptr);
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(QLA_BINARY)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(QLA_BINARY, argv.data());
        ::_exit(127);
    }
    Run run;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got > 0)
            run.out.append(buffer, static_cast<std::size_t>(got));
        else if (got < 0 && errno == EINTR)
            continue;
        else
            break; // EIO once the program closed its side
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class AliasListTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        log_ = dir_.filePath(QStringLiteral("evening.log")).toStdString();
        std::ofstream(log_, std::ios::binary) << kLog;
    }
    QTemporaryDir dir_;
    std::string log_;
};

TEST_F(AliasListTest, PipedEachPlayerIsOneTabSeparatedRow) {
    std::ostringstream out, err;
    const int status = RunQla({"qla", "alias", "list", QString::fromStdString(log_)}, out, err);
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_EQ(out.str(), "^1Bob\t^1Bob\tbob\tBOB\tRobert\n"
                         "Al\tAl\n"
                         "Tab\\tby\tTab\\tby\n"
                         "back\\\\slash\tback\\\\slash\n");
}

TEST_F(AliasListTest, OnATerminalEachNameIsALineUnderItsPlayer) {
    const auto run = OnTerminal({"alias", "list", log_});
    ASSERT_TRUE(run) << "no pseudo-terminal";
    EXPECT_EQ(run->status, 0) << run->out;
    EXPECT_EQ(run->out, "^1Bob\n"
                        "    ^1Bob\n"
                        "    bob\n"
                        "    BOB\n"
                        "    Robert\n"
                        "Al\n"
                        "    Al\n"
                        "Tab\tby\n"
                        "    Tab\tby\n"
                        "back\\slash\n"
                        "    back\\slash\n");
}

// The database keeps its own aliases: a join made there is one player with both names, listed
// the same way, and the piped rows still read back field by field.
TEST_F(AliasListTest, FromADatabaseWithAJoinTheJoinedNamesShareOnePlayer) {
    const std::string db = dir_.filePath(QStringLiteral("stats.db")).toStdString();
    const QString dbArg = QString::fromStdString(db);
    const auto imported = Qla({"import", QString::fromStdString(log_), "--db", dbArg, "--quiet"});
    ASSERT_EQ(imported.status, 0) << imported.err;
    const auto joined = Qla({"alias", "add", "--db", dbArg, "Al", "back\\slash"});
    ASSERT_EQ(joined.status, 0) << joined.err;

    const auto piped = Qla({"alias", "list", "--db", dbArg});
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(piped.out, "^1Bob\t^1Bob\tbob\tBOB\tRobert\n"
                         "Al\tAl\tback\\\\slash\n"
                         "Tab\\tby\tTab\\tby\n");

    const auto run = OnTerminal({"alias", "list", "--db", db});
    ASSERT_TRUE(run) << "no pseudo-terminal";
    EXPECT_EQ(run->status, 0) << run->out;
    EXPECT_EQ(run->out, "^1Bob\n"
                        "    ^1Bob\n"
                        "    bob\n"
                        "    BOB\n"
                        "    Robert\n"
                        "Al\n"
                        "    Al\n"
                        "    back\\slash\n"
                        "Tab\tby\n"
                        "    Tab\tby\n");
}

} // namespace
} // namespace qla::cli
