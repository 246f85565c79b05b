// The site's chat archive: one page per log and kind with every message of that log, the logs in
// date order on the index pages, and the newest logs' chat linked from the overview.
#include "export/dashboard/chat_pages.h"
#include "export/dashboard/dashboard_export.h"
#include "export/dashboard/player_address.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace qla {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it)
        found.push_back((*it)[1].str());
    return found;
}

// Every link of a page, and every speaker link its chat table lists, names a written file.
void ExpectLinksResolve(const fs::path& site, const std::string& file) {
    const std::string page = test::ReadFile((site / file).string());
    const fs::path folder = (site / file).parent_path();
    for (const std::string& href : Matches(page, "(?:href|src)=\"([^\"#]+)"))
        EXPECT_TRUE(fs::exists(folder / href)) << file << " links to " << href;
    for (const std::string& list : Matches(page, "data-speakers=\"([^\"]*)\"")) {
        const std::string root = Matches(page, "data-root=\"([^\"]*)\"").at(0);
        std::istringstream speakers(list);
        for (std::string href; speakers >> href;)
            EXPECT_TRUE(fs::exists(folder / (root + href.substr(0, href.find('#')))))
                << file << " lists " << href;
    }
}

struct ArchiveFixture {
    test::TestStore t;
    DashboardSettings settings;

    void EndLog(std::int64_t id, std::string name, std::string date) {
        settings.Logs.push_back({id, std::move(name), std::move(date), t.Store.VoiceChats.size(),
                                 t.Store.TextChats.size()});
    }
};

TEST(ChatArchive, EachLogHasAPageOfItsMessagesPerKindAndTheIndexListsTheLogsByDate) {
    ArchiveFixture f;
    f.t.Kill("Ace", "^1Bob", "MP40");
    f.t.Chat(true, "Ace", false, "Hill", "hi");
    f.t.Chat(true, "^1Bob", true, "Base", "</script><b>x</b>");
    f.t.Chat(false, "Ace", false, "", "^2gg");
    f.EndLog(4, "day2.log", "2009-03-03 20:00:00");
    const int many = static_cast<int>(2 * kChatRowsPerPage + 5);
    for (int k = 1; k <= many; ++k)
        f.t.Chat(true, k % 2 ? "Ace" : "Cid", false, "Hill", "line " + std::to_string(k));
    f.EndLog(7, "day1.log", "2009-03-02 20:00:00");
    f.t.Chat(false, "Cid", false, "", "undated");
    f.EndLog(9, "old.log", "");
    const fs::path site = test::ScratchDir();
    ASSERT_TRUE(WriteDashboardSite(f.t.Store, site.string(), f.settings).Ok());

    // Date order, the undated log last; a log without messages of the kind has no page.
    const std::string voice = test::ReadFile((site / "voice.html").string());
    EXPECT_EQ(Matches(voice, "<tr><td>(?:<a href=\"[^\"]+\">)?([^<]+)"),
              (std::vector<std::string>{"2009-03-02 20:00:00", "2009-03-03 20:00:00",
                                        "no date, old.log"}));
    EXPECT_NE(voice.find("<a href=\"voice/log-7.html\">2009-03-02 20:00:00</a><td>day1.log<td>" +
                         std::to_string(many) + "</tr>"),
              std::string::npos);
    EXPECT_NE(voice.find("<tr><td>no date, old.log<td>old.log<td>0</tr>"), std::string::npos);
    EXPECT_FALSE(fs::exists(site / "voice/log-9.html"));
    EXPECT_NE(voice.find(std::to_string(many + 2) + " messages in 3 logs."), std::string::npos);

    // Every message of the long log once, numbered from 1, in groups the script shows in turn.
    const std::string day1 = test::ReadFile((site / "voice/log-7.html").string());
    const std::vector<std::string> numbers = Matches(day1, "<tr><td>(\\d+)<td data-s=");
    ASSERT_EQ(numbers.size(), static_cast<std::size_t>(many));
    for (int k = 1; k <= many; ++k)
        EXPECT_EQ(numbers[static_cast<std::size_t>(k - 1)], std::to_string(k));
    EXPECT_EQ(Matches(day1, "(<tbody>)").size(), 3u);
    EXPECT_EQ(day1.find("line " + std::to_string(many + 1)), std::string::npos);
    EXPECT_EQ(day1.find("Text chat of this log"), std::string::npos); // it has none

    // Hand-checked rows: the speaker's entry in the table's list, text escaped and coloured.
    const std::string day2 = test::ReadFile((site / "voice/log-4.html").string());
    EXPECT_NE(day2.find("data-speakers=\"players/" + PlayerPageAddress("Ace") + ".html players/" +
                        PlayerPageAddress("^1Bob") + ".html\""),
              std::string::npos);
    EXPECT_NE(day2.find("<tr><td>1<td data-s=\"0\">Ace<td>Hill<td>all<td>hi\n"
                        "<tr><td>2<td data-s=\"1\"><span class=\"c1\">Bob</span><td>Base<td>team"
                        "<td>&lt;/script&gt;&lt;b&gt;x&lt;/b&gt;\n</table>"),
              std::string::npos)
        << day2;
    EXPECT_NE(day2.find("<a href=\"../text/log-4.html\">Text chat of this log</a>"),
              std::string::npos);
    EXPECT_NE(test::ReadFile((site / "text/log-4.html").string())
                  .find("<td data-s=\"0\">Ace<td><td>all<td><span class=\"c2\">gg</span>\n"),
              std::string::npos);

    // The overview links the newest logs' chat first.
    const std::string overview = test::ReadFile((site / "index.html").string());
    EXPECT_NE(overview.find("<li>no date, old.log: 0 voice messages, <a href=\"text/log-9.html\">"
                            "1 text message</a></li><li>2009-03-03 20:00:00: <a "
                            "href=\"voice/log-4.html\">2 voice messages</a>"),
              std::string::npos)
        << overview;
    for (const std::string file : {"index.html", "voice.html", "text.html", "voice/log-4.html",
                                   "voice/log-7.html", "text/log-4.html", "text/log-9.html"})
        ExpectLinksResolve(site, file);
}

TEST(ChatArchive, WithoutLogsThatAccountForEveryMessageTheSourceIsOneLog) {
    ArchiveFixture f;
    f.t.Chat(true, "Ace", false, "Hill", "one");
    f.t.Chat(true, "Ace", false, "Hill", "two");
    f.settings.SourceName = "server.log";
    f.settings.LogDate = "Mon Mar  2 20:00:00 2009";
    // A log file's site has no list of logs; spans that stop short of the store's end are wrong.
    for (const bool given : {false, true}) {
        f.settings.Logs.clear();
        if (given)
            f.EndLog(3, "cut.log", "2009-03-02 20:00:00");
        if (given)
            f.settings.Logs.back().VoiceChatsEnd = 2;
        const fs::path site = test::ScratchDir();
        ASSERT_TRUE(WriteDashboardSite(f.t.Store, site.string(), f.settings).Ok());
        const std::string page = test::ReadFile((site / "voice/log-1.html").string());
        EXPECT_NE(page.find("<h1>Voice chat, Mon Mar  2 20:00:00 2009</h1>"), std::string::npos);
        EXPECT_NE(page.find("2 messages of the log server.log."), std::string::npos);
        EXPECT_FALSE(fs::exists(site / "voice/log-3.html"));
    }
}

TEST(ChatArchive, ManyLogsGoIntoFoldersByTheirIdAndTheirLinksStillResolve) {
    ArchiveFixture f;
    f.settings.FilesPerFolder = 20;
    for (std::int64_t id = 1; id <= 45; ++id) {
        f.t.Chat(true, "Ace", false, "Hill", "in log " + std::to_string(id));
        f.EndLog(id, "log" + std::to_string(id) + ".log", "");
    }
    const fs::path site = test::ScratchDir();
    ASSERT_TRUE(WriteDashboardSite(f.t.Store, site.string(), f.settings).Ok());
    EXPECT_TRUE(fs::exists(site / "voice/2/log-45.html"));
    EXPECT_TRUE(fs::exists(site / "voice/0/log-1.html"));
    EXPECT_LE(std::distance(fs::directory_iterator(site / "voice"), fs::directory_iterator()), 20);
    for (const std::string file : {"voice.html", "voice/2/log-45.html", "voice/0/log-1.html"})
        ExpectLinksResolve(site, file);
    EXPECT_NE(test::ReadFile((site / "voice/2/log-45.html").string()).find("in log 45\n"),
              std::string::npos);
}

} // namespace
} // namespace qla
