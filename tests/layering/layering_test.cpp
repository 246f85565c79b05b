// The layers include only downwards: core, then languages and parsers, analysis, stats, export,
// the database, and the front ends on top, none of which includes another. The database hands
// the export layer plain data, so its headers name nothing of the export layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::map<std::string, int> kRankOfLayer = {
    {"core", 0},  {"languages", 1}, {"parsers", 1},     {"analysis", 2},
    {"stats", 3}, {"export", 4},    {"db", 5},          {"cli", 6},
    {"ui", 6},    {"updater", 6},   {"translations", 6}};

struct Include {
    std::string File;   // relative to src
    std::string Layer;  // of the file
    std::string Target; // the first folder of the included path
};

std::vector<Include> IncludesOfSources() {
    const fs::path src = fs::path(QLA_SOURCE_DIR) / "src";
    const std::regex include(R"re(^\s*#\s*include\s*"([a-z_]+)/)re");
    std::vector<Include> found;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
            continue;
        const fs::path relative = fs::relative(entry.path(), src);
        const std::string layer = relative.begin()->string();
        std::ifstream in(entry.path());
        std::string line;
        std::smatch match;
        while (std::getline(in, line))
            if (std::regex_search(line, match, include))
                found.push_back({relative.generic_string(), layer, match[1].str()});
    }
    return found;
}

TEST(Layering, EveryIncludeGoesDownOrStaysInItsLayer) {
    const std::vector<Include> includes = IncludesOfSources();
    ASSERT_GT(includes.size(), 500u); // the sources were found
    for (const Include& i : includes) {
        const auto from = kRankOfLayer.find(i.Layer);
        const auto to = kRankOfLayer.find(i.Target);
        ASSERT_NE(from, kRankOfLayer.end()) << "a layer without a rank: " << i.Layer;
        if (to == kRankOfLayer.end())
            continue; // a folder of its own layer ("dashboard/..." and the like)
        const bool down = to->second < from->second;
        EXPECT_TRUE(down || i.Target == i.Layer || (from->second == 1 && to->second == 1))
            << i.File << " includes " << i.Target << "/";
    }
}

TEST(Layering, TheDatabaseHeadersNameNothingOfTheExportLayer) {
    for (const Include& i : IncludesOfSources())
        if (i.Layer == "db" && i.File.ends_with(".h"))
            EXPECT_NE(i.Target, "export") << i.File;
}

} // namespace
