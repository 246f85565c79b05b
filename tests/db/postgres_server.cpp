// Starting and stopping the tests' PostgreSQL server.
#include "postgres_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStringList>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace qla::dbtest {

namespace {

constexpr const char* kUser = "qla_test";

// The newest installed server's programs (Debian keeps them per major version).
std::string ServerBinaries() {
    const QDir versions(QStringLiteral("/usr/lib/postgresql"));
    std::string best;
    int bestVersion = -1;
    for (const QString& version : versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = versions.filePath(version + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/initdb")) && version.toInt() > bestVersion) {
            bestVersion = version.toInt();
            best = bin.toStdString();
        }
    }
    return best;
}

// The prefix that runs a program as the unprivileged user when the tests run as root: the
// server refuses to run as root.
QStringList RunAs() {
    if (::geteuid() != 0)
        return {};
    return {QStringLiteral("setpriv"), QStringLiteral("--reuid=nobody"),
            QStringLiteral("--regid=nogroup"), QStringLiteral("--clear-groups"),
            QStringLiteral("--pdeathsig=KILL")};
}

bool RunProgram(QStringList command, std::string& output, int timeoutMs = 60000) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QString program = command.takeFirst();
    process.start(program, command);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        output = program.toStdString() + " did not finish";
        return false;
    }
    output = process.readAll().toStdString();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Stops the server when the test program ends normally, whichever test used it.
class StopAtEnd : public testing::Environment {
  public:
    void TearDown() override { PostgresServer::Shared().Stop(); }
};

PostgresServer* sharedServer = nullptr; // made on first use, for the program's life

} // namespace

PostgresServer& PostgresServer::Shared() {
    if (sharedServer == nullptr) {
        testing::AddGlobalTestEnvironment(new StopAtEnd);
        sharedServer = new PostgresServer;
    }
    return *sharedServer;
}

void PostgresServer::StopIfStarted() {
    if (sharedServer != nullptr)
        sharedServer->Stop();
}

PostgresServer::PostgresServer() {
    if (const char* folder = std::getenv("QLA_TEST_POSTGRES"); folder != nullptr && *folder) {
        binaries_ = ServerBinaries();
        folder_ = folder;
        shared_ = true;
        if (binaries_.empty() || !Answers())
            error_ = "the tests' PostgreSQL server in " + folder_ + " does not answer";
        return;
    }
    if (!Start())
        Stop();
}

PostgresServer::~PostgresServer() {
    Stop();
}

bool PostgresServer::Start() {
    binaries_ = ServerBinaries();
    if (binaries_.empty()) {
        error_ = "PostgreSQL is not installed (tools/install-deps installs the postgresql package)";
        return false;
    }
    char folder[] = "/tmp/qla-pg-XXXXXX";
    if (::mkdtemp(folder) == nullptr) {
        error_ = "cannot make a temporary folder for PostgreSQL";
        return false;
    }
    folder_ = folder;
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        const group* nogroup = ::getgrnam("nogroup");
        if (nobody == nullptr || nogroup == nullptr ||
            ::chown(folder, nobody->pw_uid, nogroup->gr_gid) != 0) {
            error_ = "cannot hand the PostgreSQL folder to the user nobody";
            return false;
        }
    }
    const QString data = QString::fromStdString(folder_ + "/data");
    std::string output;
    QStringList initdb = RunAs();
    initdb << QString::fromStdString(binaries_ + "/initdb") << QStringLiteral("-D") << data
           << QStringLiteral("-A") << QStringLiteral("trust") << QStringLiteral("-U")
           << QString::fromLatin1(kUser) << QStringLiteral("-E") << QStringLiteral("UTF8")
           << QStringLiteral("--locale=C") << QStringLiteral("--no-sync");
    if (!RunProgram(initdb, output)) {
        error_ = "initdb failed: " + output;
        return false;
    }
    // The server is this program's child, and dies with it should the program crash.
    QStringList server = RunAs();
    server << QString::fromStdString(binaries_ + "/postgres") << QStringLiteral("-D") << data
           << QStringLiteral("-k") << QString::fromStdString(folder_) << QStringLiteral("-c")
           << QStringLiteral("listen_addresses=") << QStringLiteral("-c")
           << QStringLiteral("fsync=off") << QStringLiteral("-c")
           << QStringLiteral("full_page_writes=off") << QStringLiteral("-c")
           << QStringLiteral("max_connections=40");
    std::vector<std::string> arguments;
    for (const QString& argument : server)
        arguments.push_back(argument.toStdString());
    const std::string logFile = folder_ + "/server.log";
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            ::dup2(log, 1);
            ::dup2(log, 2);
        }
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    if (pid_ < 0) {
        error_ = "cannot start PostgreSQL";
        return false;
    }
    for (int attempt = 0; attempt < 300; ++attempt) {
        if (Answers())
            return true;
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::string log;
    RunProgram({QStringLiteral("cat"), QString::fromStdString(logFile)}, log);
    error_ = "PostgreSQL did not start: " + log;
    return false;
}

bool PostgresServer::Answers() const {
    std::string output;
    return RunProgram({QString::fromStdString(binaries_ + "/pg_isready"), QStringLiteral("-q"),
                       QStringLiteral("-h"), QString::fromStdString(folder_), QStringLiteral("-U"),
                       QString::fromLatin1(kUser)},
                      output, 5000);
}

void PostgresServer::Stop() {
    if (shared_) {
        // The server goes on for the other programs; only this one's databases go.
        std::string ignored;
        for (const std::string& name : databases_)
            Sql("postgres", "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)", ignored);
        databases_.clear();
        return;
    }
    if (pid_ > 0) {
        // SIGINT: fast shutdown, the clients are sent away; a server that hangs is killed.
        ::kill(pid_, SIGINT);
        int status = 0;
        for (int waited = 0; waited < 200 && ::waitpid(pid_, &status, WNOHANG) == 0; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (::waitpid(pid_, &status, WNOHANG) == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
        }
        pid_ = -1;
    }
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        folder_.clear();
    }
}

std::string PostgresServer::Sql(const std::string& database, const std::string& statement,
                                std::string& error) const {
    std::string output;
    if (!RunProgram({QString::fromStdString(binaries_ + "/psql"), QStringLiteral("-X"),
                     QStringLiteral("-q"), QStringLiteral("-A"), QStringLiteral("-t"),
                     QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"), QStringLiteral("-h"),
                     QString::fromStdString(folder_), QStringLiteral("-U"),
                     QString::fromLatin1(kUser), QStringLiteral("-d"),
                     QString::fromStdString(database), QStringLiteral("-c"),
                     QString::fromStdString(statement)},
                    output))
        error = "psql failed: " + output;
    return output;
}

std::string PostgresServer::NewDatabase(std::string& error) {
    if (!error_.empty()) {
        error = error_;
        return {};
    }
    // Named by the program too: programs that run at the same time may share the server.
    const std::string name =
        "stats_" + std::to_string(::getpid()) + "_" + std::to_string(databases_.size() + 1);
    Sql("postgres", "CREATE DATABASE " + name, error);
    if (!error.empty())
        return {};
    databases_.push_back(name);
    return "host=" + folder_ + " dbname=" + name + " user=" + kUser;
}

} // namespace qla::dbtest
