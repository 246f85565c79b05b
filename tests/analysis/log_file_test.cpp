// Opening a log file: the existence check, the read, the reset and the date header.
#include "analysis/analysis.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace qla {
namespace {

namespace fs = std::filesystem;

class LogFileTest : public testing::Test {
  protected:
    void SetUp() override {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("qla_log_file_test_") + info->name() + "_" +
                                            std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    fs::path dir_;
};

TEST_F(LogFileTest, FileExistsOnlyForReadableRegularFiles) {
    EXPECT_TRUE(FileExists(Write("a.log", "x")));
    EXPECT_TRUE(FileExists(Write("empty.log", "")));
    EXPECT_FALSE(FileExists((dir_ / "missing.log").string()));
    EXPECT_FALSE(FileExists(dir_.string()));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(LogFileTest, OpenReadsLinesAndDate) {
    AnalysisStore store;
    const std::string path = Write(
        "game.log", "logfile opened on Sat Mar 01 20:15:00 2003\r\n[skipnotify]Bob died.\r\n");
    const OpenLogResult result = OpenLogFile(store, path);
    EXPECT_TRUE(result.Opened);
    EXPECT_EQ(result.Error, "");
    EXPECT_EQ(result.LineCount, 2u);
    EXPECT_EQ(result.DateText, std::optional<std::string>("Sat Mar 01 20:15:00 2003"));
    EXPECT_TRUE(store.LogFileLoaded);
    EXPECT_EQ(store.LogLines[1], "[skipnotify]Bob died.");
}

TEST_F(LogFileTest, OpenResetsAnEarlierAnalysis) {
    AnalysisStore store;
    ASSERT_TRUE(OpenLogFile(store, Write("one.log", "[skipnotify]Bob died.")).Opened);
    AnalyzeLog(store, LogLanguage::English);
    ASSERT_EQ(store.PlayerCount(), 1);
    const OpenLogResult result = OpenLogFile(store, Write("two.log", "other\nlines"));
    EXPECT_TRUE(result.Opened);
    EXPECT_EQ(store.PlayerCount(), 0);
    EXPECT_EQ(store.UnknownLines.size(), 1u);
    EXPECT_EQ(result.DateText, std::nullopt);
    EXPECT_EQ(result.LineCount, 2u);
}

TEST_F(LogFileTest, EmptyFileOpensAsOneEmptyLine) {
    AnalysisStore store;
    ASSERT_TRUE(OpenLogFile(store, Write("one.log", "[skipnotify]Bob died.")).Opened);
    AnalyzeLog(store, LogLanguage::English);
    const OpenLogResult result = OpenLogFile(store, Write("empty.log", ""));
    EXPECT_TRUE(result.Opened);
    EXPECT_EQ(result.LineCount, 1u);
    EXPECT_EQ(result.DateText, std::nullopt);
    EXPECT_TRUE(store.LogFileLoaded);
    EXPECT_EQ(store.PlayerCount(), 0);
    ASSERT_EQ(store.LogLines.size(), 1u);
    EXPECT_EQ(store.LogLines[0], "");
}

TEST_F(LogFileTest, BareHeaderGivesEmptyDate) {
    AnalysisStore store;
    const OpenLogResult result = OpenLogFile(store, Write("bare.log", "logfile opened on\r\nx"));
    EXPECT_TRUE(result.Opened);
    EXPECT_EQ(result.DateText, std::optional<std::string>(""));
    EXPECT_EQ(result.LineCount, 2u);
}

TEST_F(LogFileTest, FailedOpenChangesNothingButLoadedFlag) {
    AnalysisStore store;
    ASSERT_TRUE(OpenLogFile(store, Write("one.log", "[skipnotify]Bob died.\r\nx")).Opened);
    AnalyzeLog(store, LogLanguage::English);

    const std::string missing = (dir_ / "missing.log").string();
    const std::pair<std::string, std::string> cases[] = {
        {missing, "The file does not exist: " + missing},
        {dir_.string(), "This is a folder, not a log file: " + dir_.string()},
        {"", "The file does not exist: "},
    };
    for (const auto& [path, message] : cases) {
        store.LogFileLoaded = true;
        const OpenLogResult result = OpenLogFile(store, path);
        EXPECT_FALSE(result.Opened) << path;
        EXPECT_EQ(result.Error, message);
        EXPECT_FALSE(store.LogFileLoaded);
        EXPECT_EQ(store.LogLines.size(), 2u);
        EXPECT_EQ(store.PlayerCount(), 1);
        EXPECT_EQ(store.Players[1].Deaths[20], 1);
    }
}

TEST(LogDateText, HeaderForms) {
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        {"logfile opened on Sat Mar 01 2003", "Sat Mar 01 2003"},
        {"logfile opened on  two blanks", " two blanks"},
        {"logfile opened on", ""},
        {"logfile opened on ", ""},
        {"logfile opened onX", ""},
        {"logfile opened on\xC3\xA4"
         "date",
         "date"},
        {"logfile opened on \xC3\xA4", "\xC3\xA4"},
        {"Logfile opened on Sat", std::nullopt},
        {" logfile opened on Sat", std::nullopt},
        {"logfile opened o", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [line, date] : cases) {
        EXPECT_EQ(LogDateText(line), date) << line;
    }
}

} // namespace
} // namespace qla
