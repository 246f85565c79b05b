// The database hands the export layer plain data (stats/player_history.h) and the front ends
// turn it into what a page shows, so no database source names anything of the export layer. The
// build's include roots allow it (the database links the export layer for the front ends), so
// this reads the sources.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(Layering, TheDatabaseLayerIncludesNothingOfTheExportLayer) {
    const fs::path db = fs::path(QLA_SOURCE_DIR) / "src" / "db";
    const std::regex include(R"re(^\s*#\s*include\s*"([a-z_]+)/)re");
    int sources = 0;
    for (const auto& entry : fs::directory_iterator(db)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".h" && extension != ".cpp")
            continue;
        ++sources;
        std::ifstream in(entry.path());
        std::string line;
        std::smatch match;
        while (std::getline(in, line))
            if (std::regex_search(line, match, include)) {
                EXPECT_NE(match[1].str(), "export") << entry.path().filename() << ": " << line;
            }
    }
    EXPECT_GT(sources, 10); // the folder was found
}

} // namespace
