// The rows of the views' table: each view's check boxes, "Order by" options, writers per format
// and how its page's choices become the request's options.
#include "export/export_view_table.h"

#include "export/dashboard/dashboard_export.h"
#include "export/data/data_export.h"
#include "export/html_export.h"
#include "export/site_marker.h"
#include "export/xml_export.h"

#include <array>
#include <filesystem>

namespace qla {
namespace {

using enum ExportFormat;

// Checked boxes of `choices` into a view's flags; boxes the choices do not mention stay checked.
template <std::size_t N> std::array<bool, N> FlagsOf(const PageChoices& choices) {
    std::array<bool, N> flags{};
    for (std::size_t i = 0; i < N; ++i)
        flags[i] = i >= choices.Checks.size() || choices.Checks[i];
    return flags;
}

// RequestFor has put the page's default in place of a missing order.
template <class Order> Order OrderOf(const PageChoices& choices) {
    return static_cast<Order>(choices.Order.value_or(0));
}

ExportOutcome Done(ExportResult result) {
    return {std::move(result), {}};
}

// A ratio's decimal separator in a text export: the locale's, unless it is the column separator
// too (or part of it), where it would split the ratio into two columns.
std::string_view TextDecimalSeparator(const ExportRequest& r) {
    if (r.Text.Separator.find(r.DecimalSeparator) != std::string::npos)
        return ".";
    return r.DecimalSeparator;
}

// A CSV separator that a quoted field could not be told from fails before any file is made.
template <class Write> ExportOutcome CheckedCsv(const ExportRequest& r, Write write) {
    if (const std::string problem = CsvSeparatorProblem(r.Csv.Separator); !problem.empty())
        return Done({problem});
    return Done(write());
}

// Standard table

constexpr CheckOption kStandardChecks[] = {{"Player name", "name"},
                                           {"Number of kills", "kills"},
                                           {"Number of deaths", "deaths"},
                                           {"Kill / Death ratio", "ratio"},
                                           {"Teamkills", "teamkills"}};
constexpr OrderOption kStandardOrders[] = {
    {"Player name", "name"},        {"Number of kills", "kills"},
    {"Number of deaths", "deaths"}, {"Kill / Death ratio", "ratio"},
    {"Teamkills", "teamkills"},     {"Appearance in logfile", "appearance"}};
constexpr ViewWriter kStandardWriters[] = {
    {Html,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const StandardOptions& o = r.Standard;
         return Done(WriteStandardHtml(store, r.Path, o.Columns, o.Order, o.Ascending, r.SiteLinks,
                                       r.GameTitle, r.DecimalSeparator));
     }},
    {Text,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const StandardOptions& o = r.Standard;
         return Done(WriteStandardText(store, r.Path, o.Columns, o.Order, o.Ascending, r.Text,
                                       TextDecimalSeparator(r)));
     }},
    {Xml,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const StandardOptions& o = r.Standard;
         // XML is read by programs: its numbers always have a decimal point.
         return Done(WriteXml(store, r.Path, o.Order, o.Ascending, "."));
     }},
    {Json,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const StandardOptions& o = r.Standard;
         return Done(WriteStandardJson(store, r.Path, o.Order, o.Ascending));
     }},
    {Csv,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const StandardOptions& o = r.Standard;
         return CheckedCsv(
             r, [&] { return WriteStandardCsv(store, r.Path, o.Order, o.Ascending, r.Csv); });
     }},
};
void ApplyStandardChoices(ExportRequest& request, const PageChoices& choices) {
    request.Standard = {FlagsOf<5>(choices), OrderOf<StandardOrder>(choices), choices.Ascending};
}

// One player's details

constexpr CheckOption kPlayerChecks[] = {{"Kills", "kills"},           {"Deaths", "deaths"},
                                         {"Self kills", "suicides"},   {"Teamkills", "teamkills"},
                                         {"Teamdeaths", "teamdeaths"}, {"Used weapons", "weapons"}};
constexpr OrderOption kPlayerOrders[] = {
    {"Player names", "name"}, {"Numbers", "number"}, {"Appearance in logfile", "appearance"}};
constexpr ViewWriter kPlayerWriters[] = {
    {Html,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const PlayerDetailOptions& o = r.PlayerDetails;
         return Done(WritePlayerDetailsHtml(store, r.Path, o.Sections, o.Order, o.Ascending,
                                            o.Player, r.SiteLinks, r.GameTitle));
     }},
    {Text,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const PlayerDetailOptions& o = r.PlayerDetails;
         return Done(WritePlayerDetailsText(store, r.Path, o.Sections, o.Order, o.Ascending,
                                            o.Player, r.Text));
     }},
    {Json,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const PlayerDetailOptions& o = r.PlayerDetails;
         return Done(WritePlayerDetailsJson(store, r.Path, o.Order, o.Ascending, o.Player));
     }},
    {Csv,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const PlayerDetailOptions& o = r.PlayerDetails;
         return CheckedCsv(r, [&] {
             return WritePlayerDetailsCsv(store, r.Path, o.Order, o.Ascending, o.Player, r.Csv);
         });
     }},
};
void ApplyPlayerChoices(ExportRequest& request, const PageChoices& choices) {
    PlayerDetailOptions& options = request.PlayerDetails;
    options.Sections = FlagsOf<6>(choices);
    options.Order = OrderOf<PlayerDetailOrder>(choices);
    options.Ascending = choices.Ascending;
}

// The weapon table

constexpr CheckOption kWeaponChecks[] = {{"Weapon name", "weapon"},
                                         {"Number of kills", "kills"},
                                         {"% of total kills", "share"},
                                         {"Most kills by: [player]", "most-kills-by"},
                                         {"Most deaths by: [player]", "most-deaths-by"}};
// The share option exists but the page never offers it.
constexpr OrderOption kWeaponOrders[] = {{"Weapon name", "weapon"},
                                         {"Number of kills", "kills"},
                                         {"% of total kills", "share", false},
                                         {"Most kills by:", "most-kills-by"},
                                         {"Most deaths by:", "most-deaths-by"},
                                         {"Standard order", "standard"}};
constexpr ViewWriter kWeaponWriters[] = {
    {Html,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const WeaponOptions& o = r.Weapons;
         return Done(WriteWeaponHtml(store, r.Path, o.Columns, o.Order, o.Ascending, r.SiteLinks,
                                     r.GameTitle));
     }},
    {Text,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const WeaponOptions& o = r.Weapons;
         return Done(WriteWeaponText(store, r.Path, o.Columns, o.Order, o.Ascending, r.Text));
     }},
    {Json,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const WeaponOptions& o = r.Weapons;
         return Done(WriteWeaponJson(store, r.Path, o.Order, o.Ascending));
     }},
    {Csv,
     [](const AnalysisStore& store, const ExportRequest& r) {
         const WeaponOptions& o = r.Weapons;
         return CheckedCsv(
             r, [&] { return WriteWeaponCsv(store, r.Path, o.Order, o.Ascending, r.Csv); });
     }},
};
void ApplyWeaponChoices(ExportRequest& request, const PageChoices& choices) {
    request.Weapons = {FlagsOf<5>(choices), OrderOf<WeaponOrder>(choices), choices.Ascending};
}

// The two chat pages

constexpr CheckOption kChatChecks[] = {{"Player name", "name"},
                                       {"Location", "location"},
                                       {"Text", "text"},
                                       {"Team chat", "team"},
                                       {"Global chat", "global"}};
// The chat and junk views read their rows through the statistics' line source, which a database
// streams: they have no writer of the store alone.
template <bool Voice>
constexpr ViewWriter kChatWriters[] = {
    {Html, nullptr, nullptr,
     [](const Statistics& s, const ExportRequest& r) {
         const ChatOptions& o = Voice ? r.VoiceChat : r.TextChat;
         return Done(WriteChatHtml(s, Voice, r.Path, o.Shown, r.GameTitle));
     }},
    {Text, nullptr, nullptr,
     [](const Statistics& s, const ExportRequest& r) {
         const ChatOptions& o = Voice ? r.VoiceChat : r.TextChat;
         return Done(WriteChatText(s, Voice, r.Path, o.Shown, r.Text));
     }},
    {Json, nullptr, nullptr,
     [](const Statistics& s, const ExportRequest& r) {
         return Done(WriteChatJson(s, Voice, r.Path));
     }},
    {Csv, nullptr, nullptr,
     [](const Statistics& s, const ExportRequest& r) {
         return CheckedCsv(r, [&] { return WriteChatCsv(s, Voice, r.Path, r.Csv); });
     }},
};
void ApplyVoiceChatChoices(ExportRequest& request, const PageChoices& choices) {
    request.VoiceChat.Shown = FlagsOf<5>(choices);
}
void ApplyTextChatChoices(ExportRequest& request, const PageChoices& choices) {
    request.TextChat.Shown = FlagsOf<5>(choices);
}

// Runs a site writer and then marks the folder with the files it wrote, so qla watch can tell
// them from files someone else put there. A marker that cannot be written fails the export.
// Export All reports per page, the statistics site in its one result.
enum class SiteResult { PerPage, Whole };
template <class Write>
ExportOutcome MarkedSite(const std::string& folder, SiteResult reported, Write write) {
    const FolderSnapshot before = FolderSnapshot::Of(folder);
    ExportOutcome outcome = write();
    std::error_code code;
    if (!outcome.Site.Refused.empty() || !std::filesystem::is_directory(folder, code))
        return outcome; // nothing was written
    if (const std::string error = MarkSite(folder, before); !error.empty()) {
        if (reported == SiteResult::PerPage)
            outcome.Site.Errors.push_back({std::string(kSiteMarkerName), error});
        else if (outcome.File.Ok())
            outcome.File.Error = std::string(kSiteMarkerName) + ": " + error;
    }
    return outcome;
}

// The lines no parser took, and the whole site

constexpr ViewWriter kUnknownLinesWriters[] = {
    {Html, nullptr, nullptr,
     [](const Statistics& s, const ExportRequest& r) {
         return Done(
             WriteUnknownLinesHtml(s, r.Path, r.GameTitle, r.Junk.LogDateText, r.Junk.Progress));
     }},
    {Text, nullptr, nullptr,
     [](const Statistics& s, const ExportRequest& r) {
         return Done(WriteUnknownLinesText(s, r.Path, r.Junk.Progress));
     }},
    {Json, nullptr, nullptr,
     [](const Statistics& s, const ExportRequest& r) {
         return Done(WriteUnknownLinesJson(s, r.Path));
     }},
    {Csv, nullptr, nullptr,
     [](const Statistics& s, const ExportRequest& r) {
         return CheckedCsv(r, [&] { return WriteUnknownLinesCsv(s, r.Path, r.Csv); });
     }},
};
constexpr ViewWriter kSiteWriters[] = {
    {Html,
     [](const AnalysisStore& store, const ExportRequest& r) {
         ExportAllSettings settings;
         settings.GameTitle = r.GameTitle;
         settings.DecimalSeparator = r.DecimalSeparator;
         settings.IfExists = r.Site.IfExists;
         settings.Ask = r.Site.Ask;
         settings.Progress = r.Site.Progress;
         settings.Cancelled = r.Site.Cancelled;
         return MarkedSite(r.Path, SiteResult::PerPage, [&] {
             return ExportOutcome{{}, ExportAllData(store, r.Path, settings)};
         });
     }},
};

// The statistics site and its data

DashboardSettings DashboardOf(const ExportRequest& r) {
    DashboardSettings settings = r.Dashboard;
    settings.GameTitle = r.GameTitle;
    return settings;
}
constexpr ViewWriter kDashboardWriters[] = {
    {Html,
     [](const AnalysisStore& store, const ExportRequest& r) {
         return MarkedSite(r.Path, SiteResult::Whole,
                           [&] { return Done(WriteDashboardSite(store, r.Path, DashboardOf(r))); });
     },
     [](const AnalysisStore& store, const ExportRequest& r, FileSink& sink) {
         return WriteDashboardFiles(store, DashboardOf(r), sink);
     }},
    {Json,
     [](const AnalysisStore& store, const ExportRequest& r) {
         return Done(WriteDashboardJson(store, r.Path, DashboardOf(r)));
     }},
};

void NoChoices(ExportRequest&, const PageChoices&) {}

const ExportViewInfo kViews[] = {
    {ExportView::Standard, "standard", "Standard", "", kStandardChecks, kStandardOrders, 5, false,
     false, kStandardWriters, ApplyStandardChoices},
    {ExportView::PlayerDetails, "player", "Player Details", "", kPlayerChecks, kPlayerOrders, 2,
     true, false, kPlayerWriters, ApplyPlayerChoices},
    {ExportView::Weapons, "weapons", "Weapon Details", "", kWeaponChecks, kWeaponOrders, 5, false,
     false, kWeaponWriters, ApplyWeaponChoices},
    {ExportView::VoiceChat,
     "voice",
     "Voice Chat",
     "",
     kChatChecks,
     {},
     0,
     false,
     false,
     kChatWriters<true>,
     ApplyVoiceChatChoices},
    {ExportView::TextChat,
     "text",
     "Text Chat",
     "",
     kChatChecks,
     {},
     0,
     false,
     false,
     kChatWriters<false>,
     ApplyTextChatChoices},
    {ExportView::Junk,
     "junk",
     "Other",
     "Logfile Junk",
     {},
     {},
     0,
     false,
     false,
     kUnknownLinesWriters,
     NoChoices},
    {ExportView::AllData,
     "all",
     "Other",
     "All data (standard + players + weapons)",
     {},
     {},
     0,
     false,
     true,
     kSiteWriters,
     NoChoices},
    {ExportView::Dashboard,
     "dashboard",
     "Other",
     "Export statistics site",
     {},
     {},
     0,
     false,
     true,
     kDashboardWriters,
     NoChoices},
};

} // namespace

std::span<const ExportViewInfo> ExportViewTable() {
    return kViews;
}

} // namespace qla
