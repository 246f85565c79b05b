// The statistics site's awards and records pages on a generated log: both exist, the overview
// links them, and they show what the award table and the records give for the same store.
#include "analysis/analysis.h"
#include "export/dashboard/dashboard_export.h"
#include "export/data/awards_export.h"
#include "export/memory_sink.h"
#include "generator.h"
#include "stats/award_records.h"
#include "stats/awards.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qla {
namespace {

class SiteAwardsTest : public testing::Test {
  protected:
    void SetUp() override {
        loggen::Options options;
        options.players = 8;
        options.lines = 2000;
        options.seed = 31;
        std::ostringstream log;
        ASSERT_TRUE(loggen::generateLog(options, log));
        store_.LogLines = LogLineList::FromBytes(log.str());
        DashboardSettings settings;
        settings.SourceName = "game.log";
        settings.LogDate = "Sat May 19 19:26:15 2007";
        settings.Totals = AnalyzeLog(store_, LogLanguage::English);
        ASSERT_TRUE(WriteDashboardFiles(store_, settings, sink_).Ok());
    }
    // The table with id `table` on the page, as text.
    std::string Table(const std::string& page, const std::string& table) const {
        const std::string text = sink_.Content(page);
        const std::size_t start = text.find("<table id=\"" + table + "\"");
        EXPECT_NE(start, std::string::npos) << page << " has no table " << table;
        return start == std::string::npos
                   ? ""
                   : text.substr(start, text.find("</table>", start) - start);
    }

    AnalysisStore store_;
    MemorySink sink_;
};

TEST_F(SiteAwardsTest, TheOverviewLinksTheAwardsAndRecordsPages) {
    const std::string overview = sink_.Content("index.html");
    EXPECT_NE(overview.find("<a href=\"awards.html\">Awards</a>"), std::string::npos);
    EXPECT_NE(overview.find("<a href=\"records.html\">Records</a>"), std::string::npos);
    for (const char* page : {"awards.html", "records.html"}) {
        const std::string text = sink_.Content(page);
        ASSERT_FALSE(text.empty()) << page;
        // The site's frame: its style sheet (themes and the phone layout) and tables that
        // scroll in their own box.
        EXPECT_NE(text.find("href=\"site.css\""), std::string::npos) << page;
        EXPECT_NE(text.find("<div class=\"scroll\"><table"), std::string::npos) << page;
    }
}

TEST_F(SiteAwardsTest, ThePagesShowTheAwardsAndRecordsOfTheStore) {
    const std::vector<RatingGain> gains =
        RatingGains(store_, {{store_.KillEvents.size()}}, {false}, {true});
    const std::vector<AwardResult> awards = ComputeAwards({store_, {}, {}, true, gains});
    const std::string table = Table("awards.html", "awards");
    std::size_t rows = 0;
    for (const AwardResult& award : awards) {
        const std::string title = std::string(RuleOf(award.Id).Title);
        ASSERT_FALSE(award.Entries.empty()) << title << ": the generated log should give it";
        rows += award.Entries.size();
        // Each winner's value stands in its row.
        const AwardEntry& first = award.Entries.front();
        const std::size_t row = table.find("<tr><td>" + title + "</td>");
        ASSERT_NE(row, std::string::npos) << title;
        const std::string line = table.substr(row, table.find("</tr>", row) - row);
        if (award.Id != AwardId::FirstBlood) {
            EXPECT_NE(line.find(">" + AwardValueText(award.Id, first.Value) + "</td>"),
                      std::string::npos)
                << line;
        }
    }
    std::size_t shown = 0;
    for (std::size_t at = table.find("<tr><td>"); at != std::string::npos;
         at = table.find("<tr><td>", at + 1))
        ++shown;
    EXPECT_EQ(shown, rows);
    // The rules table names every award's minimum.
    const std::string rules = Table("awards.html", "award-rules");
    for (const AwardRule& rule : AwardRules())
        EXPECT_NE(rules.find(std::string(rule.Title)), std::string::npos) << rule.Title;

    RecordBook book;
    book.AddSession(store_, true, "game.log", "");
    const std::string records = Table("records.html", "records");
    for (const AwardRecord& record : book.Records()) {
        ASSERT_TRUE(record.Held) << record.Title;
        EXPECT_NE(
            records.find(std::to_string(record.Kills) + " / " + std::to_string(record.Deaths)),
            std::string::npos)
            << record.Title;
    }
}

} // namespace
} // namespace qla
