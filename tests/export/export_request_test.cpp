// The export request: the view and format table holds together, page choices become each view's
// typed options, and RunExport refuses what a view does not take and runs the site views.
#include "export/dashboard/player_address.h"
#include "export/export_views.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace qla {
namespace {

namespace fs = std::filesystem;

TEST(ExportViewsTest, TablesFollowTheEnumsAndNamesAreUnique) {
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < ExportViews().size(); ++i) {
        const ExportViewInfo& view = ExportViews()[i];
        EXPECT_EQ(static_cast<std::size_t>(view.View), i) << view.Name;
        EXPECT_EQ(&InfoOf(view.View), &view);
        EXPECT_EQ(FindExportView(view.Name), &view);
        EXPECT_TRUE(names.insert(view.Name).second) << view.Name;
        EXPECT_FALSE(view.Writers.empty()) << view.Name;
        std::set<ExportFormat> formats;
        for (const ViewWriter& writer : view.Writers)
            EXPECT_TRUE(formats.insert(writer.Format).second) << view.Name;
        if (view.Orders.empty()) {
            EXPECT_EQ(view.DefaultOrder, 0) << view.Name;
        } else {
            ASSERT_LT(static_cast<std::size_t>(view.DefaultOrder), view.Orders.size());
            EXPECT_TRUE(view.Orders[static_cast<std::size_t>(view.DefaultOrder)].Offered);
        }
    }
    for (std::size_t i = 0; i < ExportFormats().size(); ++i) {
        const ExportFormatInfo& format = ExportFormats()[i];
        EXPECT_EQ(static_cast<std::size_t>(format.Format), i) << format.Name;
        EXPECT_EQ(FindExportFormat(format.Name), &format);
    }
    EXPECT_EQ(FindExportView("scores"), nullptr);
    EXPECT_EQ(FindExportFormat("pdf"), nullptr);
}

TEST(ExportViewsTest, WhichViewsTakeWhichFormats) {
    EXPECT_TRUE(ViewTakes(ExportView::Standard, ExportFormat::Xml));
    EXPECT_FALSE(ViewTakes(ExportView::Weapons, ExportFormat::Xml));
    EXPECT_FALSE(ViewTakes(ExportView::AllData, ExportFormat::Text));
    EXPECT_EQ(SoleViewTaking(ExportFormat::Xml), ExportView::Standard);
    EXPECT_EQ(SoleViewTaking(ExportFormat::Text), std::nullopt);
    EXPECT_EQ(SoleFormatOf(ExportView::AllData), ExportFormat::Html);
    EXPECT_EQ(SoleFormatOf(ExportView::Junk), std::nullopt);
}

TEST(ExportRequestTest, PageChoicesBecomeTheViewsOptions) {
    // Nothing chosen: the page's start-up state.
    ExportRequest request = RequestFor(ExportView::Weapons, ExportFormat::Html, {});
    EXPECT_EQ(request.Weapons.Order, WeaponOrder::StandardOrder);
    EXPECT_EQ(request.Weapons.Columns, kAllWeaponColumns);
    EXPECT_TRUE(request.Weapons.Ascending);

    // Boxes past the given ones stay checked; the order index maps to its enum value.
    request = RequestFor(ExportView::PlayerDetails, ExportFormat::Text, {{false, true}, 1, false});
    EXPECT_EQ(request.View, ExportView::PlayerDetails);
    EXPECT_EQ(request.Format, ExportFormat::Text);
    EXPECT_EQ(request.PlayerDetails.Sections,
              (PlayerDetailSections{false, true, true, true, true, true}));
    EXPECT_EQ(request.PlayerDetails.Order, PlayerDetailOrder::Numbers);
    EXPECT_FALSE(request.PlayerDetails.Ascending);

    PageChoices chat;
    chat.Checks = {true, false, true, false};
    request = RequestFor(ExportView::TextChat, ExportFormat::Html, chat);
    EXPECT_EQ(request.TextChat.Shown, (ChatFlags{true, false, true, false, true}));
    EXPECT_EQ(request.VoiceChat.Shown, kAllChatFlags); // another view's options stay untouched

    request = RequestFor(ExportView::Standard, ExportFormat::Xml, {{}, 3, true});
    EXPECT_EQ(request.Standard.Order, StandardOrder::Ratio);
}

TEST(ExportRequestTest, AFormatTheViewDoesNotTakeIsRefusedBeforeAnyFile) {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    const fs::path page = test::ScratchDir() / "weapons.xml";
    ExportRequest request = RequestFor(ExportView::Weapons, ExportFormat::Xml, {});
    request.Path = page.string();
    const ExportOutcome outcome = RunExport(data.Store, request);
    EXPECT_EQ(outcome.File.Error, "Error - 22 - Invalid argument\r\nerrorcode: 0");
    EXPECT_FALSE(outcome.Ok());
    EXPECT_FALSE(fs::exists(page));
}

// A decimal comma stays on pages people read; files programs read get a point where the comma
// would be ambiguous: always in XML, and in text whose column separator holds it.
TEST(ExportRequestTest, ADecimalCommaNeverBreaksAMachineReadableFile) {
    test::TestStore data;
    for (int i = 0; i < 3; ++i)
        data.Kill("Bob", "Al", "MP40");
    data.Kill("Al", "Bob", "MP40");
    data.Kill("Zed", "Bob", "MP40");
    const fs::path dir = test::ScratchDir();
    const auto write = [&](ExportFormat format, std::string separator) {
        ExportRequest request = RequestFor(ExportView::Standard, format, {});
        request.Path = (dir / "out").string();
        request.DecimalSeparator = ",";
        request.Text.Separator = std::move(separator);
        EXPECT_TRUE(RunExport(data.Store, request).Ok());
        return test::ReadFile(request.Path);
    };
    const std::string xml = write(ExportFormat::Xml, ",");
    EXPECT_NE(xml.find("<ratio>1.5</ratio>"), std::string::npos) << xml;
    EXPECT_EQ(xml.find("1,5"), std::string::npos) << xml;
    const std::string text = write(ExportFormat::Text, ",");
    EXPECT_NE(text.find(",1.5,"), std::string::npos) << text;
    EXPECT_NE(write(ExportFormat::Text, " , ").find(" , 1.5 , "), std::string::npos);
    EXPECT_NE(write(ExportFormat::Text, ";").find(";1,5;"), std::string::npos);
    EXPECT_NE(write(ExportFormat::Html, ",").find(">1,5<"), std::string::npos);
}

TEST(ExportRequestTest, SiteViewWritesTheSiteAndReportsItsResult) {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    const fs::path dir = test::ScratchDir();
    ExportRequest request = RequestFor(ExportView::AllData, ExportFormat::Html, {});
    request.Path = dir.string();
    request.GameTitle = "Cup";
    std::int64_t reported = 0;
    request.Site.Progress = [&](const std::string&, std::int64_t, std::int64_t) { ++reported; };

    ExportOutcome outcome = RunExport(data.Store, request);
    EXPECT_TRUE(outcome.Ok()) << outcome.Site.Refused;
    EXPECT_EQ(outcome.Site.FilesDone, CountExportAllFiles(data.Store));
    EXPECT_EQ(reported, CountExportAllFiles(data.Store));
    EXPECT_TRUE(fs::exists(dir / "player002b.html"));

    // Skip keeps an existing page as it is.
    { std::ofstream(dir / "index.html") << "old"; }
    request.Site.IfExists = IfFileExists::Skip;
    outcome = RunExport(data.Store, request);
    EXPECT_TRUE(outcome.Ok());
    EXPECT_EQ(test::ReadFile((dir / "index.html").string()), "old");

    request.Path = (dir / "missing" / "folder").string();
    outcome = RunExport(data.Store, request);
    EXPECT_FALSE(outcome.Ok());
    EXPECT_FALSE(outcome.Site.Refused.empty());
    EXPECT_TRUE(outcome.File.Ok());
}

TEST(ExportViewsTest, TheTypeListKeepsItsThreeFormatsAndEveryTableTakesJsonAndCsv) {
    std::vector<std::string_view> captions;
    for (const ExportFormatInfo* format : TypeListFormats())
        captions.push_back(format->Caption);
    EXPECT_EQ(captions, (std::vector<std::string_view>{"HTML", "Text dump", "XML"}));
    for (const ExportView view :
         {ExportView::Standard, ExportView::PlayerDetails, ExportView::Weapons,
          ExportView::VoiceChat, ExportView::TextChat, ExportView::Junk}) {
        EXPECT_TRUE(ViewTakes(view, ExportFormat::Json)) << InfoOf(view).Name;
        EXPECT_TRUE(ViewTakes(view, ExportFormat::Csv)) << InfoOf(view).Name;
    }
    EXPECT_TRUE(ViewTakes(ExportView::Dashboard, ExportFormat::Json));
    EXPECT_FALSE(ViewTakes(ExportView::Dashboard, ExportFormat::Csv));
    EXPECT_FALSE(ViewTakes(ExportView::AllData, ExportFormat::Json));
    // Only a site written as HTML is a folder; the dashboard's JSON is one file.
    EXPECT_TRUE(WritesFolder(ExportView::Dashboard, ExportFormat::Html));
    EXPECT_FALSE(WritesFolder(ExportView::Dashboard, ExportFormat::Json));
    EXPECT_TRUE(WritesFolder(ExportView::AllData, ExportFormat::Html));
    EXPECT_FALSE(WritesFolder(ExportView::Standard, ExportFormat::Html));
}

TEST(ExportRequestTest, CsvAndJsonRunThroughTheRequest) {
    test::TestStore data;
    data.Kill("=cmd|' /C calc'!A0", "Al", "MP40");
    const fs::path dir = test::ScratchDir();
    ExportRequest request = RequestFor(ExportView::Standard, ExportFormat::Csv, {{}, 0, true});
    request.Path = (dir / "standard.csv").string();
    request.Csv.Separator = ";";
    ASSERT_TRUE(RunExport(data.Store, request).Ok());
    EXPECT_EQ(test::ReadFile(request.Path), "name;visible_name;kills;deaths;ratio;teamkills\r\n"
                                            "'=cmd|' /C calc'!A0;'=cmd|' /C calc'!A0;1;0;1;0\r\n"
                                            "Al;Al;0;1;0;0\r\n");
    request.Csv.RawFields = true;
    ASSERT_TRUE(RunExport(data.Store, request).Ok());
    EXPECT_NE(test::ReadFile(request.Path).find("\r\n=cmd|' /C calc'!A0;"), std::string::npos);

    // A separator a reader could not tell from a quoted field fails before a file is made.
    request.Path = (dir / "refused.csv").string();
    request.Csv.Separator = "\"";
    const ExportOutcome refused = RunExport(data.Store, request);
    EXPECT_EQ(refused.File.Error, "The CSV separator must not hold a quote or a line end.");
    EXPECT_FALSE(fs::exists(request.Path));

    request = RequestFor(ExportView::Weapons, ExportFormat::Json, {});
    request.Path = (dir / "weapons.json").string();
    ASSERT_TRUE(RunExport(data.Store, request).Ok());
    EXPECT_EQ(test::ReadFile(request.Path)
                  .rfind(R"({"format":"quarvel-statistics","version":1,)"
                         R"("view":"weapons","order":{"key":5,)",
                         0),
              0u);
}

TEST(ExportRequestTest, DashboardShowsTheRunsCoverageAndADatabasesHistory) {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    data.Kill("Bob", "Al", "Sten");
    const fs::path dir = test::ScratchDir();
    ExportRequest request = RequestFor(ExportView::Dashboard, ExportFormat::Html, {});
    request.Path = (dir / "site").string(); // made by the writer
    request.GameTitle = "Cup";
    DashboardSettings& dashboard = request.Dashboard;
    dashboard.Totals.Total = 7;
    dashboard.Totals.ByKind[static_cast<std::size_t>(LineKind::Kill)] = 2;
    dashboard.Totals.ByKind[static_cast<std::size_t>(LineKind::None)] = 5;
    dashboard.FromDatabase = true;
    dashboard.SourceName = "stats.db";
    dashboard.LogCount = 2;
    dashboard.HeldBackBytes = 12;
    dashboard.History = {
        {"Bob", {{"2006-05-14 15:19:28", "2006-05-14 15:19:28", 1, 0, 0}, {"log 2", "", 1, 0, 0}}}};
    std::int64_t progressed = 0;
    dashboard.Progress = [&](std::int64_t done, std::int64_t count) {
        progressed = done;
        EXPECT_EQ(count, 2);
    };
    const ExportOutcome outcome = RunExport(data.Store, request);
    ASSERT_TRUE(outcome.Ok()) << outcome.File.Error;
    EXPECT_EQ(progressed, 2);

    const std::string bob =
        test::ReadFile((dir / "site" / PlayerPagePath(PlayerPageAddress("Bob"))).string());
    EXPECT_NE(bob.find("<h2>Log by log</h2>"), std::string::npos);
    EXPECT_NE(bob.find("<tr><td>log 2</td><td>1</td><td>0</td><td>0</td></tr>"), std::string::npos);
    std::size_t lines = 0;
    for (std::size_t at = bob.find("<polyline"); at != std::string::npos;
         at = bob.find("<polyline", at + 1))
        ++lines;
    EXPECT_EQ(lines, 3u); // kills, deaths and teamkills
    // Al has no history: his page has no such section.
    EXPECT_EQ(test::ReadFile((dir / "site" / "players" / "p2.html").string()).find("Log by log"),
              std::string::npos);

    const std::string coverage = test::ReadFile((dir / "site" / "coverage.html").string());
    EXPECT_NE(coverage.find("<p>7 lines, 5 of them not recognised."), std::string::npos);
    EXPECT_NE(coverage.find("Held back: 12 bytes"), std::string::npos);
    const std::string index = test::ReadFile((dir / "site" / "index.html").string());
    EXPECT_NE(index.find("<p class=\"source\">Database stats.db</p>"), std::string::npos);

    request.Format = ExportFormat::Json;
    request.Path = (dir / "dashboard.json").string();
    ASSERT_TRUE(RunExport(data.Store, request).Ok());
    const std::string json = test::ReadFile(request.Path);
    EXPECT_NE(json.find(R"("history":[{"log":"2006-05-14 15:19:28","date":"2006-05-14 15:19:28",)"
                        R"("kills":1,"deaths":0,"teamkills":0},{"log":"log 2","date":"",)"),
              std::string::npos);
    EXPECT_NE(json.find(R"("source":{"gameTitle":"Cup","database":"stats.db",)"),
              std::string::npos);
    EXPECT_NE(json.find(R"("heldBackBytes":12,)"), std::string::npos);
}

} // namespace
} // namespace qla
