// The rows of the views' table: each view's check boxes, "Order by" options, writer per format
// and how its page's choices become the request's options. Every writer reads its options from
// the request itself.
#include "export/export_view_table.h"

#include "export/dashboard/dashboard_export.h"
#include "export/data/data_export.h"
#include "export/html_export.h"
#include "export/text_export.h"
#include "export/xml_export.h"

#include <array>

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
    {Html, WriteStandardHtml}, {Text, WriteStandardText}, {Xml, WriteStandardXml},
    {Json, WriteStandardJson}, {Csv, WriteStandardCsv},
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
    {Html, WritePlayerDetailsHtml},
    {Text, WritePlayerDetailsText},
    {Json, WritePlayerDetailsJson},
    {Csv, WritePlayerDetailsCsv},
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
    {Html, WriteWeaponHtml},
    {Text, WriteWeaponText},
    {Json, WriteWeaponJson},
    {Csv, WriteWeaponCsv},
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
constexpr ViewWriter kVoiceChatWriters[] = {
    {Html, WriteVoiceChatHtml},
    {Text, WriteVoiceChatText},
    {Json, WriteVoiceChatJson},
    {Csv, WriteVoiceChatCsv},
};
constexpr ViewWriter kTextChatWriters[] = {
    {Html, WriteTextChatHtml},
    {Text, WriteTextChatText},
    {Json, WriteTextChatJson},
    {Csv, WriteTextChatCsv},
};
void ApplyVoiceChatChoices(ExportRequest& request, const PageChoices& choices) {
    request.VoiceChat.Shown = FlagsOf<5>(choices);
}
void ApplyTextChatChoices(ExportRequest& request, const PageChoices& choices) {
    request.TextChat.Shown = FlagsOf<5>(choices);
}

// The lines no parser took, and the two sites (written into a folder by RunExport)

constexpr ViewWriter kUnknownLinesWriters[] = {
    {Html, WriteUnknownLinesHtml},
    {Text, WriteUnknownLinesText},
    {Json, WriteUnknownLinesJson},
    {Csv, WriteUnknownLinesCsv},
};
constexpr ViewWriter kSiteWriters[] = {{Html, WriteAllDataSite}};
constexpr ViewWriter kDashboardWriters[] = {{Html, WriteDashboardHtml}, {Json, WriteDashboardJson}};

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
     kVoiceChatWriters,
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
     kTextChatWriters,
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
