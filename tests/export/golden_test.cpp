// Golden pages: every folder under tests/data/export/cases holds call.txt (which writer, its
// arguments, which store of tests/data/export/stores), run as an export request, and the
// hand-written expected file. The expected files are kept with LF line ends in the repository;
// every written line ends in CR LF.
#include "export/export_views.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
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

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// The writers call.txt names, as the view and format of an export request.
struct NamedWriter {
    std::string_view Name;
    ExportView View;
    ExportFormat Format;
};
constexpr NamedWriter kNamedWriters[] = {
    {"standard-text", ExportView::Standard, ExportFormat::Text},
    {"player-text", ExportView::PlayerDetails, ExportFormat::Text},
    {"weapon-text", ExportView::Weapons, ExportFormat::Text},
    {"voice-text", ExportView::VoiceChat, ExportFormat::Text},
    {"textchat-text", ExportView::TextChat, ExportFormat::Text},
    {"junk-text", ExportView::Junk, ExportFormat::Text},
    {"standard-html", ExportView::Standard, ExportFormat::Html},
    {"player-html", ExportView::PlayerDetails, ExportFormat::Html},
    {"weapon-html", ExportView::Weapons, ExportFormat::Html},
    {"voice-html", ExportView::VoiceChat, ExportFormat::Html},
    {"textchat-html", ExportView::TextChat, ExportFormat::Html},
    {"junk-html", ExportView::Junk, ExportFormat::Html},
    {"xml", ExportView::Standard, ExportFormat::Xml},
};

// Runs the export call.txt describes; returns the writer's error text.
std::string RunCall(std::map<std::string, std::string> call, test::TestStore& data,
                    const std::string& out) {
    const AnalysisStore& store = data.Store;
    const std::string& writer = call["writer"];
    const auto named = std::find_if(std::begin(kNamedWriters), std::end(kNamedWriters),
                                    [&](const NamedWriter& w) { return w.Name == writer; });
    if (named == std::end(kNamedWriters))
        return "unknown writer " + writer;

    // "flags" holds one 0 or 1 per check box; boxes it leaves out are cleared.
    PageChoices choices;
    const std::string& flags = call["flags"];
    for (std::size_t i = 0; i < InfoOf(named->View).Checks.size(); ++i)
        choices.Checks.push_back(i < flags.size() && flags[i] == '1');
    choices.Order = std::stoi(call.count("key") ? call["key"] : "0");
    choices.Ascending = call["ascending"] != "0";

    ExportRequest request = RequestFor(named->View, named->Format, choices);
    request.Path = out;
    request.GameTitle = call["title"];
    request.DecimalSeparator = call.count("decimal") ? call["decimal"] : ".";
    request.SiteLinks = call["links"] == "1";
    if (call.count("include-header"))
        request.Text.IncludeHeader = call["include-header"] == "1";
    if (call.count("separator"))
        request.Text.Separator = call["separator"];
    request.Text.RemoveColors = call["remove-colors"] == "1";
    request.PlayerDetails.Player = store.FindPlayer(call["player"]).value_or(0);
    request.Junk.LogDateText = call["date"];
    return RunExport(store, request).File.Error;
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
