// The statistics site's script and style sheet: built in byte for byte from their source files,
// and the script colours names with the core's colour table.
#include "core/names.h"
#include "export/dashboard/site_assets.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

namespace qla {
namespace {

std::string SourceFile(const std::string& name) {
    std::ifstream in(std::string(QLA_SOURCE_DIR) + "/src/export/dashboard/" + name,
                     std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(SiteAssets, AreTheBytesOfTheirSourceFiles) {
    const std::string script = SourceFile("site.js"), style = SourceFile("site.css");
    ASSERT_FALSE(script.empty());
    ASSERT_FALSE(style.empty());
    EXPECT_EQ(SiteScript(), script);
    EXPECT_EQ(SiteStyleSheet(), style);
    // Whole files: no terminating zero came along, and the last line end is kept.
    EXPECT_EQ(SiteScript().back(), '\n');
    EXPECT_EQ(SiteStyleSheet().find('\0'), std::string_view::npos);
}

// The script's CODES string and COLOURS object, as the script spells them.
struct ScriptColourTable {
    std::string Codes;
    std::map<char, int> Colours;
};

ScriptColourTable ReadScriptColourTable(std::string_view script) {
    ScriptColourTable table;
    const std::string text(script);
    std::smatch match;
    if (std::regex_search(text, match, std::regex(R"re(var CODES = "([^"]*)";)re")))
        table.Codes = match[1];
    const std::size_t begin = text.find("var COLOURS = {");
    const std::size_t end = text.find("};", begin);
    if (begin == std::string::npos || end == std::string::npos)
        return table;
    const std::string object = text.substr(begin, end - begin);
    const std::regex entry(R"re((?:"(.)"|(\w)): (\d))re");
    for (auto it = std::sregex_iterator(object.begin(), object.end(), entry);
         it != std::sregex_iterator(); ++it) {
        const std::string key = (*it)[1].matched ? (*it)[1].str() : (*it)[2].str();
        table.Colours[key[0]] = std::stoi((*it)[3]);
    }
    return table;
}

TEST(SiteAssets, TheScriptColoursCodesAsTheCoreDoes) {
    const ScriptColourTable table = ReadScriptColourTable(SiteScript());
    ASSERT_FALSE(table.Codes.empty());
    ASSERT_FALSE(table.Colours.empty());
    // The script lowers a character before it looks it up, as the core folds A-Z.
    for (int c = 1; c < 128; ++c) {
        const char code = static_cast<char>(c);
        const char lower = (code >= 'A' && code <= 'Z') ? static_cast<char>(code + 32) : code;
        const bool scriptCode = table.Codes.find(lower) != std::string::npos;
        EXPECT_EQ(scriptCode, IsColourCodeChar(code)) << code;
        if (!scriptCode)
            continue;
        const auto colour = table.Colours.find(lower);
        EXPECT_EQ(colour == table.Colours.end() ? 7 : colour->second, ColourIndexOf(code)) << code;
    }
}

} // namespace
} // namespace qla
