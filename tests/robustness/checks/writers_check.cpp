// Every HTML page and the XML export of a store built from a fuzzed log. Besides well-formedness
// the pages are compared with those of the same log in which every "<" was replaced by a byte
// the log does not hold: the two sites must hold the same number of "<", or a "<" of the log
// reached a page as markup.
#include "fuzz_checks.h"

#include "analysis/analysis.h"
#include "core/text.h"
#include "export/export_all.h"
#include "export/export_request.h"
#include "export/xml_export.h"
#include "markup_check.h"
#include "xml_check.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace qla::robust {

namespace {

namespace fs = std::filesystem;

struct Choices {
    std::uint8_t Flags = 0xFF;
    std::uint8_t Keys = 0;
    bool Ascending() const { return (Keys & 0x80) != 0; }
    template <std::size_t N> std::array<bool, N> Bits(int shift) const {
        std::array<bool, N> bits{};
        for (std::size_t i = 0; i < N; ++i)
            bits[i] = ((Flags >> ((shift + i) % 8)) & 1) != 0;
        return bits;
    }
};

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Writes every page of `log` into `folder`; returns the first writer error.
std::string WriteAll(std::string log, LogLanguage language, const Choices& choices,
                     const fs::path& folder) {
    AnalysisStore store;
    store.LogLines = LogLineList::FromBytes(std::move(log));
    store.LogFileLoaded = true;
    AnalyzeLog(store, language);
    // The game title is typed by the user; the log's first line makes a suitably hostile one.
    const std::string title(FirstChars(store.LogLines[0], 100));
    const std::string date(LogDateText(store.LogLines[0]).value_or(""));
    const auto path = [&](std::string_view name) { return (folder / name).string(); };

    fs::create_directories(folder / "site");
    ExportAllSettings settings;
    settings.GameTitle = title;
    const ExportAllResult site = ExportAllData(store, path("site"), settings);
    if (!site.Ok())
        return "Export All: " + site.Refused +
               (site.Errors.empty() ? "" : site.Errors[0].FileName + " " + site.Errors[0].Error);

    const int keys = choices.Keys & 0x7F;
    const bool up = choices.Ascending();
    const PlayerIndex player =
        store.PlayerCount() > 0 ? 1 + static_cast<PlayerIndex>(keys % store.PlayerCount()) : 0;
    ExportRequest request;
    request.GameTitle = title;
    request.Standard = {choices.Bits<5>(0), static_cast<StandardOrder>(keys % 6), up};
    request.PlayerDetails = {choices.Bits<6>(1), static_cast<PlayerDetailOrder>(keys % 3), up,
                             player};
    request.Weapons = {choices.Bits<5>(2), static_cast<WeaponOrder>(keys % 6), up};
    request.VoiceChat.Shown = choices.Bits<5>(3);
    request.TextChat.Shown = choices.Bits<5>(4);
    request.Junk.LogDateText = date;
    const auto write = [&](ExportView view, ExportFormat format, std::string_view name) {
        request.View = view;
        request.Format = format;
        request.Path = path(name);
        return RunExport(store, request).File;
    };
    using enum ExportView;
    const std::pair<std::string_view, ExportResult> results[] = {
        {"standard", write(Standard, ExportFormat::Html, "standard.html")},
        {"player",
         player == 0 ? ExportResult{} : write(PlayerDetails, ExportFormat::Html, "player.html")},
        {"weapon", write(Weapons, ExportFormat::Html, "weapon.html")},
        {"voice", write(VoiceChat, ExportFormat::Html, "voice.html")},
        {"text", write(TextChat, ExportFormat::Html, "text.html")},
        {"junk", write(Junk, ExportFormat::Html, "junk.html")},
        {"xml", write(Standard, ExportFormat::Xml, "export.xml")},
    };
    for (const auto& [name, result] : results) {
        if (!result.Ok())
            return std::string(name) + ": " + result.Error;
    }
    const XmlReading xml = ReadXml(ReadAll(folder / "export.xml"), "player");
    if (!xml.Error.empty())
        return "export.xml: " + xml.Error;
    if (xml.Named != static_cast<std::size_t>(store.PlayerCount()))
        return "export.xml holds " + std::to_string(xml.Named) + " players instead of " +
               std::to_string(store.PlayerCount());
    return {};
}

// Every page below `folder` by its relative name.
std::map<std::string, std::string> Pages(const fs::path& folder) {
    std::map<std::string, std::string> pages;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".html")
            pages[fs::relative(entry.path(), folder).string()] = ReadAll(entry.path());
    }
    return pages;
}

// A byte that plays no part in any line form and does not occur in `log`; 0 when there is none.
char StandIn(std::string_view log) {
    for (char c : std::string_view("{}~`\x01\x02\x03\x04\x05\x06"))
        if (log.find(c) == std::string_view::npos)
            return c;
    return 0;
}

} // namespace

std::string WritersProblem(std::string_view input, const std::string& scratchFolder) {
    Choices choices;
    if (input.size() >= 2) {
        choices.Flags = static_cast<std::uint8_t>(input[0]);
        choices.Keys = static_cast<std::uint8_t>(input[1]);
        input.remove_prefix(2);
    }
    const LogLanguage language = (choices.Keys & 0x40) ? LogLanguage::German : LogLanguage::English;
    const fs::path original = fs::path(scratchFolder) / "original";
    const fs::path substituted = fs::path(scratchFolder) / "substituted";
    fs::remove_all(original);
    fs::remove_all(substituted);

    if (std::string problem = WriteAll(std::string(input), language, choices, original);
        !problem.empty())
        return problem;
    if (!fs::exists(original / "site" / "style.css"))
        return "Export All wrote no style sheet";
    const std::map<std::string, std::string> pages = Pages(original);
    for (const auto& [name, page] : pages) {
        if (std::string problem = HtmlPageProblem(page); !problem.empty())
            return name + ": " + problem;
    }

    const char standIn = StandIn(input);
    if (standIn == 0 || input.find('<') == std::string_view::npos)
        return {};
    std::string log(input);
    for (char& c : log)
        if (c == '<')
            c = standIn;
    if (std::string problem = WriteAll(log, language, choices, substituted); !problem.empty())
        return "without \"<\": " + problem;
    const std::map<std::string, std::string> expected = Pages(substituted);
    if (expected.size() != pages.size())
        return "replacing \"<\" changed the number of pages";
    for (const auto& [name, page] : pages) {
        const auto other = expected.find(name);
        if (other == expected.end() || TagCount(other->second) != TagCount(page))
            return name + ": a \"<\" of the log was written as markup";
    }
    return {};
}

} // namespace qla::robust
