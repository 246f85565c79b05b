// A throwaway PostgreSQL server for the database tests: initdb into a private temporary folder,
// the server listening only on a Unix socket there (no TCP), run as an unprivileged user when
// the tests run as root, stopped when the test program ends (and killed with it if it dies).
// Under CTest the programs share one server that tests/db/test-postgres started before them
// (its socket folder in QLA_TEST_POSTGRES); each program then drops the databases it made.
#pragma once

#include <string>
#include <vector>

namespace qla::dbtest {

class PostgresServer {
  public:
    // The server of this test program, started on first use. Empty Error() when it runs.
    static PostgresServer& Shared();
    // Stops the server of this program, if it has one; for programs that do not run GoogleTest's
    // environments (Qt Test), which would leave its folder behind.
    static void StopIfStarted();

    const std::string& Error() const { return error_; }
    // A new empty database; its --db connection text, or "" with the reason in `error`.
    std::string NewDatabase(std::string& error);
    // Runs one SQL statement through psql in `database` (a name, or a connection text as
    // NewDatabase gives); its output, rows as "a|b" lines.
    std::string Sql(const std::string& database, const std::string& statement,
                    std::string& error) const;
    void Stop();
    ~PostgresServer();

  private:
    PostgresServer();
    bool Start();
    bool Answers() const; // pg_isready on the socket folder
    std::string error_;
    std::string binaries_, folder_;
    int pid_ = -1;
    bool shared_ = false; // the server of the whole test run, not this program's own
    std::vector<std::string> databases_;
};

} // namespace qla::dbtest
