// qla reanalyze: a log's statistics rebuilt from its stored lines, in another mode or language,
// in one transaction; and an import that asks for another mode says which command gives it.
#include "db_test_support.h"

#include <gtest/gtest.h>

namespace qla::dbtest {
namespace {

class Reanalyze : public testing::TestWithParam<Engine> {
  protected:
    QlaRun Import(const std::string& path, const char* recognition) {
        return Qla({"import", QString::fromStdString(path), "--db", database_, "--recognition",
                    recognition});
    }
    std::string Read(const QStringList& source) {
        std::string all;
        for (const char* command : {"analyze", "players"}) {
            const QlaRun run = Qla(QStringList{command} << source);
            EXPECT_EQ(run.status, 0) << run.err;
            all += run.out;
        }
        const std::string output = folder_.Path("standard.txt");
        const QlaRun run =
            Qla(QStringList{"export"} << source << "--view"
                                      << "standard"
                                      << "--format"
                                      << "text"
                                      << "--output" << QString::fromStdString(output));
        EXPECT_EQ(run.status, 0) << run.err;
        return all + ReadFile(output);
    }

    TempFolder folder_;
    QString database_ = NewDatabase(GetParam(), folder_);
};

TEST_P(Reanalyze, ALogReadAgainInFullEqualsItsFileReadInFull) {
    // Hostile names: classic and full recognition read them differently.
    const std::string first = folder_.Path("a.log"), second = folder_.Path("b.log");
    WriteFile(first, GeneratedLog(false, false, true, 1500, 3));
    WriteFile(second, GeneratedLog(true, false, true, 1500, 4));
    ASSERT_EQ(Import(first, "classic").status, 0);
    ASSERT_EQ(Qla({"import", QString::fromStdString(second), "--db", database_, "--language",
                   "german", "--recognition", "classic"})
                  .status,
              0);
    const std::string classic = Read({"--db", database_, "--log", "1"});
    ASSERT_EQ(classic, Read({QString::fromStdString(first)}));

    // Asking the import for full recognition changes nothing and names the command that does.
    const QlaRun again = Import(first, "full");
    EXPECT_EQ(again.status, 0);
    EXPECT_NE(again.out.find("it was imported in classic recognition and is read so (qla "
                             "reanalyze --log 1 --recognition full reads it in full)"),
              std::string::npos)
        << again.out;
    EXPECT_EQ(Read({"--db", database_, "--log", "1"}), classic);

    const QlaRun run = Qla({"reanalyze", "--db", database_, "--log", "1", "--recognition", "full"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "log 1: read again, 1500 lines, english, full recognition\n");
    EXPECT_EQ(Read({"--db", database_, "--log", "1"}),
              Read({QString::fromStdString(first), "--recognition", "full"}));
    // The other log keeps its mode, and the whole database is still its logs one after another.
    EXPECT_NE(Qla({"logs", "--db", database_}).out.find("german\tclassic"), std::string::npos);
    EXPECT_EQ(Qla({"check", "--db", database_}).status, 0);

    // A log that is not there: nothing changes, not even the logs before it.
    const std::string before = Read({"--db", database_});
    const QlaRun missing = Qla({"reanalyze", "--db", database_, "--log", "2,9"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("holds no log 9"), std::string::npos) << missing.err;
    EXPECT_EQ(Read({"--db", database_}), before);
}

TEST_P(Reanalyze, EveryLogInAnotherLanguage) {
    const std::string log = folder_.Path("german.log");
    WriteFile(log, GeneratedLog(true, false, false, 800, 5));
    ASSERT_EQ(Import(log, "full").status, 0); // read as English: a German log's kills are lost
    const QlaRun run = Qla({"reanalyze", "--db", database_, "--language", "german"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Read({"--db", database_}),
              Read({QString::fromStdString(log), "--language", "german", "--recognition", "full"}));
    EXPECT_EQ(Qla({"reanalyze", "--db", database_, "--language", "auto"}).status, 2);
}

INSTANTIATE_TEST_SUITE_P(Engines, Reanalyze, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
