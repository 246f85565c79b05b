// Golden pages: every folder under tests/data/export/cases holds call.txt (which writer, its
// arguments, which store of tests/data/export/stores) and the hand-written expected file. The
// expected files are kept with LF line ends in the repository; every written line ends in CR LF.
#include "export/html_export.h"
#include "export/text_export.h"
#include "export/xml_export.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

namespace qla {
namespace {

namespace fs = std::filesystem;

const fs::path kDataDir = fs::path(QLA_TEST_DATA_DIR) / "export";

std::map<std::string, std::string> ReadCall(const fs::path& file) {
    std::map<std::string, std::string> call;
    std::istringstream lines(test::ReadFile(file.string()));
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            call[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return call;
}

template <std::size_t N> std::array<bool, N> Flags(const std::string& bits) {
    std::array<bool, N> flags{};
    for (std::size_t i = 0; i < N && i < bits.size(); ++i)
        flags[i] = bits[i] == '1';
    return flags;
}

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// Runs the writer named in call.txt; returns the writer's error text.
std::string RunCall(std::map<std::string, std::string> call, test::TestStore& data,
                    const std::string& out) {
    const AnalysisStore& store = data.Store;
    const std::string& writer = call["writer"];
    const int key = std::stoi(call.count("key") ? call["key"] : "0");
    const bool ascending = call["ascending"] != "0";
    const bool links = call["links"] == "1";
    const std::string title = call["title"];
    const std::string decimal = call.count("decimal") ? call["decimal"] : ".";
    TextExportOptions options;
    if (call.count("include-header"))
        options.IncludeHeader = call["include-header"] == "1";
    if (call.count("separator"))
        options.Separator = call["separator"];
    options.RemoveColors = call["remove-colors"] == "1";
    const PlayerIndex player = store.FindPlayer(call["player"]).value_or(0);
    const std::string& flags = call["flags"];

    ExportResult result{"unknown writer " + writer};
    if (writer == "standard-text")
        result = WriteStandardText(store, out, Flags<5>(flags), key, ascending, options, decimal);
    else if (writer == "player-text")
        result =
            WritePlayerDetailsText(store, out, Flags<6>(flags), key, ascending, player, options);
    else if (writer == "weapon-text")
        result = WriteWeaponText(store, out, Flags<5>(flags), key, ascending, options);
    else if (writer == "voice-text")
        result = WriteVoiceChatText(store, out, Flags<5>(flags), options);
    else if (writer == "textchat-text")
        result = WriteTextChatText(store, out, Flags<5>(flags), options);
    else if (writer == "junk-text")
        result = WriteJunkText(store, out);
    else if (writer == "standard-html")
        result =
            WriteStandardHtml(store, out, Flags<5>(flags), key, ascending, links, title, decimal);
    else if (writer == "player-html")
        result = WritePlayerDetailsHtml(store, out, Flags<6>(flags), key, ascending, player, links,
                                        title);
    else if (writer == "weapon-html")
        result = WriteWeaponHtml(store, out, Flags<5>(flags), key, ascending, links, title);
    else if (writer == "voice-html")
        result = WriteVoiceChatHtml(store, out, Flags<5>(flags), title);
    else if (writer == "textchat-html")
        result = WriteTextChatHtml(store, out, Flags<5>(flags), title);
    else if (writer == "junk-html")
        result = WriteJunkHtml(store, out, title, call["date"]);
    else if (writer == "xml")
        result = WriteXml(store, out, key, ascending, decimal);
    return result.Error;
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kDataDir / "cases"))
        if (entry.is_directory())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class GoldenExport : public testing::TestWithParam<std::string> {};

TEST_P(GoldenExport, WritesTheExpectedFile) {
    const fs::path folder = kDataDir / "cases" / GetParam();
    auto call = ReadCall(folder / "call.txt");
    ASSERT_FALSE(call["writer"].empty()) << "call.txt names no writer";

    test::TestStore data;
    if (!call["store"].empty()) {
        const std::string script =
            test::ReadFile((kDataDir / "stores" / (call["store"] + ".tsv")).string());
        ASSERT_FALSE(script.empty()) << "store " << call["store"];
        ASSERT_EQ(data.Run(script), "");
    }

    fs::path expected;
    for (const char* name : {"expected.html", "expected.txt", "expected.xml"})
        if (fs::exists(folder / name))
            expected = folder / name;
    ASSERT_FALSE(expected.empty()) << "no expected file in " << folder;

    const fs::path outDir = test::ScratchDir();
    const fs::path out = outDir / ("out" + expected.extension().string());

    ASSERT_EQ(RunCall(call, data, out.string()), "");
    EXPECT_EQ(test::ReadFile(out.string()), WithCrLf(test::ReadFile(expected.string())));

    // A single table or chat page brings its style sheet; site pages and junk pages do not.
    const bool singlePage =
        expected.extension() == ".html" && call["links"] != "1" && call["writer"] != "junk-html";
    EXPECT_EQ(fs::exists(outDir / "style.css"), singlePage);
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenExport, testing::ValuesIn(CaseNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

} // namespace
} // namespace qla
