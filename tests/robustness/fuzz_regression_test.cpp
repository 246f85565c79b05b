// Replays the fuzz targets' seed corpus and every past finding (fuzz_regressions/<target>/)
// through the same checks the fuzz targets run, in the normal build.
#include "fuzz_checks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace qla {
namespace {

namespace fs = std::filesystem;

struct Target {
    const char* Name;
    std::function<std::string(std::string_view)> Check;
};

std::vector<fs::path> InputsOf(const std::string& target) {
    std::vector<fs::path> inputs;
    for (const fs::path& folder :
         {fs::path(QLA_SOURCE_DIR) / "tests/fuzz/corpus" / target,
          fs::path(QLA_SOURCE_DIR) / "tests/robustness/fuzz_regressions" / target}) {
        if (!fs::is_directory(folder))
            continue;
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file() && entry.path().extension() != ".md")
                inputs.push_back(entry.path());
    }
    return inputs;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// ctest runs each test in its own process, side by side: every test writes its pages into a
// folder of its own.
std::string OwnScratchFolder() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name)
        if (c == '/')
            c = '_';
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / name;
    std::filesystem::create_directories(folder);
    return folder.string();
}

class FuzzRegressions : public testing::TestWithParam<Target> {};

TEST_P(FuzzRegressions, EveryKeptInputPassesItsTargetsChecks) {
    const std::vector<fs::path> inputs = InputsOf(GetParam().Name);
    ASSERT_FALSE(inputs.empty()) << "no seed corpus for " << GetParam().Name;
    for (const fs::path& input : inputs)
        EXPECT_EQ(GetParam().Check(ReadBytes(input)), "") << input;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions,
                         testing::Values(Target{"log_lines", robust::LogBytesProblem},
                                         Target{"analysis", robust::AnalysisProblem},
                                         Target{"names", robust::NameRoutinesProblem},
                                         Target{"writers",
                                                [](std::string_view input) {
                                                    return robust::WritersProblem(
                                                        input, OwnScratchFolder());
                                                }}),
                         [](const testing::TestParamInfo<Target>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace
} // namespace qla
