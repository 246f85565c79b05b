// The export request: the view and format table holds together, page choices become each view's
// typed options, and RunExport refuses what a view does not take and runs the site views.
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

} // namespace
} // namespace qla
