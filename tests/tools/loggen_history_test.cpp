// qla-loggen's histories: the same seed gives the same files, the truth names exactly the lines
// that name players, every newcomer passes through the default name, and who kills whom follows
// the persons' skills.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <sstream>

#include "history.h"
#include "loggen_test_support.h"
#include "run_loggen.h"
#include "support/history_persons.h"
#include "support/rank_correlation.h"

using namespace loggen_test;

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct TruthRow {
    std::size_t line = 0;
    std::string role;
    std::size_t person = 0;
};

std::vector<TruthRow> ReadTruth(const fs::path& path) {
    std::vector<TruthRow> rows;
    std::istringstream in(ReadAll(path));
    TruthRow row;
    while (in >> row.line >> row.role >> row.person)
        rows.push_back(row);
    return rows;
}

class History : public testing::Test {
  protected:
    fs::path Write(const std::string& name, const std::string& seed) {
        const fs::path folder = fs::temp_directory_path() / ("qla-history-test-" + name);
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::ostringstream out, err;
        EXPECT_EQ(loggen::runLogGen({"--persons", "60", "--logs", "4", "--lines", "6000", "--seed",
                                     seed, "--line-ends", "lf", "--output-folder", folder.string()},
                                    out, err),
                  0)
            << err.str();
        folders_.push_back(folder);
        return folder;
    }
    ~History() override {
        for (const fs::path& folder : folders_)
            fs::remove_all(folder);
    }
    std::vector<fs::path> folders_;
};

TEST_F(History, TheSameSeedGivesTheSameFiles) {
    const fs::path a = Write("a", "5"), b = Write("b", "5"), c = Write("c", "6");
    for (const char* file : {"log01.log", "log04.log", "log03.truth.tsv", "persons.tsv"}) {
        EXPECT_EQ(ReadAll(a / file), ReadAll(b / file)) << file;
        EXPECT_NE(ReadAll(a / file), ReadAll(c / file)) << file;
    }
}

// Every line that files a player (kills, teamkills, suicides, chat) and every rename has its
// truth, and no other line has any: a kill names two persons, the rest one.
TEST_F(History, TheTruthNamesExactlyTheLinesThatNamePlayers) {
    const fs::path folder = Write("truth", "7");
    for (const char* stem : {"log01", "log02", "log03", "log04"}) {
        const std::vector<std::string> lines =
            splitTerminatedLines(ReadAll(folder / (std::string(stem) + ".log")));
        ASSERT_EQ(lines.size(), 6000u);
        EXPECT_TRUE(startsWith(lines[0], "logfile opened on "));
        std::map<std::size_t, std::vector<std::string>> roles;
        for (const TruthRow& row : ReadTruth(folder / (std::string(stem) + ".truth.tsv")))
            roles[row.line].push_back(row.role);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            const bool named = startsWith(line, "[skipnotify]") &&
                               !endsWith(line, " entered the game") &&
                               !endsWith(line, "^7 disconnected");
            const auto found = roles.find(i + 1);
            ASSERT_EQ(named, found != roles.end()) << stem << " line " << i + 1 << ": " << line;
            if (!named)
                continue;
            const std::vector<std::string>& r = found->second;
            if (contains(line, " renamed to "))
                EXPECT_EQ(r, std::vector<std::string>{"renamer"}) << line;
            else if (r.size() == 2)
                EXPECT_EQ(r, (std::vector<std::string>{"killer", "victim"})) << line;
            else
                EXPECT_TRUE(r[0] == "speaker" || r[0] == "player") << line;
        }
    }
}

// Each person's first rename of all is away from the game's default name, and many people pass
// through it: the passing name that must never join people by itself.
TEST_F(History, NewcomersConnectUnderTheDefaultNameAndRenameAway) {
    const fs::path folder = Write("newcomers", "8");
    std::map<std::size_t, std::string> firstRename;
    for (const char* stem : {"log01", "log02", "log03", "log04"}) {
        const std::vector<std::string> lines =
            splitTerminatedLines(ReadAll(folder / (std::string(stem) + ".log")));
        for (const TruthRow& row : ReadTruth(folder / (std::string(stem) + ".truth.tsv")))
            if (row.role == "renamer" && !firstRename.contains(row.person))
                firstRename[row.person] = lines[row.line - 1];
    }
    EXPECT_GT(firstRename.size(), 30u);
    for (const auto& [person, line] : firstRename)
        EXPECT_TRUE(startsWith(line, "[skipnotify]" + std::string(loggen::kDefaultPlayerName) +
                                         "^7 renamed to "))
            << person << ": " << line;
}

// The kill model follows the skills: ranked by true skill, the persons with many encounters
// rank much the same by their share of kills won.
TEST_F(History, KillsFollowTheSkills) {
    const fs::path folder = Write("skills", "9");
    std::map<std::size_t, double> skill;
    for (const auto& person :
         qla::testing_support::ReadHistoryPersons((folder / "persons.tsv").string()))
        skill[person.Id] = person.Skills.front();
    std::map<std::size_t, double> won, fought;
    for (const char* stem : {"log01", "log02", "log03", "log04"})
        for (const TruthRow& r : ReadTruth(folder / (std::string(stem) + ".truth.tsv"))) {
            if (r.role == "killer")
                ++won[r.person];
            if (r.role == "killer" || r.role == "victim")
                ++fought[r.person];
        }
    std::vector<std::pair<double, double>> pairs; // true skill, share won
    for (const auto& [person, count] : fought)
        if (count >= 100)
            pairs.emplace_back(skill[person], won[person] / count);
    ASSERT_GE(pairs.size(), 20u);
    const double spearman = qla::testing_support::SpearmanCorrelation(pairs);
    EXPECT_GT(spearman, 0.6) << "over " << pairs.size() << " persons";
}

// No two persons look alike: a clan tag put before a pool name must not give one person what
// another is already called ("{TKS}" + "Grüner" beside "{TKS}^0Grüner"), or no reading of the
// logs could tell them apart. Each of these seeds had such a pair before the check.
TEST_F(History, NoTwoPersonsWearLookAlikeNames) {
    auto lookAlike = [](const std::string& name) {
        std::string key;
        for (std::size_t i = 0; i < name.size(); ++i) {
            if (name[i] == '^' && i + 1 < name.size())
                ++i;
            else
                key += static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
        }
        return key;
    };
    for (const char* seed : {"1", "2", "3", "4", "5", "6"}) {
        const fs::path folder =
            fs::temp_directory_path() / ("qla-history-test-apart-" + std::string(seed));
        fs::remove_all(folder);
        fs::create_directories(folder);
        folders_.push_back(folder);
        std::ostringstream out, err;
        ASSERT_EQ(loggen::runLogGen({"--persons", "200", "--logs", "10", "--lines", "200", "--seed",
                                     seed, "--output-folder", folder.string()},
                                    out, err),
                  0)
            << err.str();
        std::map<std::string, std::string> wornBy;
        for (const auto& person :
             qla::testing_support::ReadHistoryPersons((folder / "persons.tsv").string())) {
            const auto [taken, isNew] = wornBy.emplace(lookAlike(person.MainName), person.MainName);
            EXPECT_TRUE(isNew) << "seed " << seed << ": " << person.MainName << " beside "
                               << taken->second;
        }
    }
}

} // namespace
