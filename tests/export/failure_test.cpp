// Writers that cannot create or fill their file report the platform's error with the stage they
// were in, and never throw or print.
#include "export/html_export.h"
#include "export/text_export.h"
#include "export/xml_export.h"
#include "test_store.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace qla {
namespace {

namespace fs = std::filesystem;

struct WriterCase {
    std::string_view name;
    std::function<ExportResult(const AnalysisStore&, const std::string&)> write;
    int createStage; // stage when the file cannot be created
    int fillStage;   // stage when writing into it fails
};

const WriterCase kWriters[] = {
    {"standard text",
     [](const AnalysisStore& s, const std::string& p) {
         return WriteStandardText(s, p, kAllStandardColumns, 5, true, {}, ".");
     },
     5, 10},
    {"player text",
     [](const AnalysisStore& s, const std::string& p) {
         return WritePlayerDetailsText(s, p, kAllPlayerDetailSections, 0, true, 1, {});
     },
     5, 10},
    {"weapon text",
     [](const AnalysisStore& s, const std::string& p) {
         return WriteWeaponText(s, p, kAllWeaponColumns, 5, true, {});
     },
     5, 5},
    {"voice text",
     [](const AnalysisStore& s, const std::string& p) {
         return WriteVoiceChatText(s, p, kAllChatFlags, {});
     },
     0, 0},
    {"text chat text",
     [](const AnalysisStore& s, const std::string& p) {
         return WriteTextChatText(s, p, kAllChatFlags, {});
     },
     0, 0},
    {"junk text", [](const AnalysisStore& s, const std::string& p) { return WriteJunkText(s, p); },
     0, 0},
    {"standard html",
     [](const AnalysisStore& s, const std::string& p) {
         return WriteStandardHtml(s, p, kAllStandardColumns, 5, true, false, "T", ".");
     },
     5, 10},
    {"player html",
     [](const AnalysisStore& s, const std::string& p) {
         return WritePlayerDetailsHtml(s, p, kAllPlayerDetailSections, 0, true, 1, false, "T");
     },
     5, 10},
    {"weapon html",
     [](const AnalysisStore& s, const std::string& p) {
         return WriteWeaponHtml(s, p, kAllWeaponColumns, 5, true, false, "T");
     },
     5, 25},
    {"voice html",
     [](const AnalysisStore& s, const std::string& p) {
         return WriteVoiceChatHtml(s, p, kAllChatFlags, "T");
     },
     5, 5},
    {"text chat html",
     [](const AnalysisStore& s, const std::string& p) {
         return WriteTextChatHtml(s, p, kAllChatFlags, "T");
     },
     5, 5},
    {"junk html",
     [](const AnalysisStore& s, const std::string& p) { return WriteJunkHtml(s, p, "T", "d"); }, 0,
     0},
    {"xml",
     [](const AnalysisStore& s, const std::string& p) { return WriteXml(s, p, 5, true, "."); }, 0,
     0},
};

test::TestStore SmallStore() {
    test::TestStore data;
    data.Kill("Bob", "Al", "MP40");
    data.Chat(true, "Bob", true, "here", "hi");
    data.Chat(false, "Al", false, "", "yo");
    data.Other("junk");
    return data;
}

TEST(WriterFailureTest, MissingFolder) {
    const test::TestStore data = SmallStore();
    const fs::path missing = test::ScratchDir() / "no_such_folder_for_export";
    fs::remove_all(missing);
    for (const WriterCase& c : kWriters) {
        EXPECT_EQ(c.write(data.Store, (missing / "page").string()).Error,
                  "Error - 2 - No such file or directory\r\nerrorcode: " +
                      std::to_string(c.createStage))
            << c.name;
        EXPECT_FALSE(fs::exists(missing)) << c.name;
    }
}

TEST(WriterFailureTest, FullDevice) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    const test::TestStore data = SmallStore();
    for (const WriterCase& c : kWriters)
        EXPECT_EQ(c.write(data.Store, "/dev/full").Error,
                  "Error - 28 - No space left on device\r\nerrorcode: " +
                      std::to_string(c.fillStage))
            << c.name;
    EXPECT_FALSE(fs::exists("/dev/style.css"));
}

TEST(WriterFailureTest, SucceedsWithTheSameStoreInAWritableFolder) {
    const test::TestStore data = SmallStore();
    const fs::path dir = test::ScratchDir();
    for (const WriterCase& c : kWriters) {
        const fs::path page = dir / "page";
        EXPECT_EQ(c.write(data.Store, page.string()).Error, "") << c.name;
        EXPECT_GT(fs::file_size(page), 0u) << c.name;
    }
}

// A player that is not stored is refused before any file exists; no record is added.
TEST(WriterFailureTest, UnknownPlayerIndex) {
    const test::TestStore data = SmallStore();
    const fs::path page = test::ScratchDir() / "unknown_player.html";
    for (PlayerIndex player : {0, -1, 3}) {
        fs::remove(page);
        EXPECT_EQ(WritePlayerDetailsHtml(data.Store, page.string(), kAllPlayerDetailSections, 0,
                                         true, player, false, "T")
                      .Error,
                  "Error - 22 - Invalid argument\r\nerrorcode: 0");
        EXPECT_EQ(WritePlayerDetailsText(data.Store, page.string(), kAllPlayerDetailSections, 0,
                                         true, player, {})
                      .Error,
                  "Error - 22 - Invalid argument\r\nerrorcode: 0");
        EXPECT_FALSE(fs::exists(page));
    }
    EXPECT_EQ(data.Store.PlayerCount(), 2);
}

} // namespace
} // namespace qla
