// A site written again after new lines: the chat pages of a long history stay as they were but
// for the first and the last, and a page a sink keeps unbuilt (its inputs hashed the same) is
// byte for byte the page that would have been built.
#include "export/dashboard/dashboard_export.h"
#include "export/dashboard/player_address.h"
#include "export/dashboard/site_tables.h"
#include "export/sink.h"
#include "test_store.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace qla {
namespace {

// Holds a site in memory, with the input hash given for each page that has one. Given the
// hashes of an earlier site, it keeps every page whose hash is the same, as qla watch does.
class RememberingSink : public Sink {
  public:
    explicit RememberingSink(std::map<std::string, std::uint64_t> earlier = {})
        : earlier_(std::move(earlier)) {}

    std::unique_ptr<SinkFile> Create(const std::string& name) override {
        return std::make_unique<GatheredFile>(
            [this, name](std::string&& content) { return Put(name, content); });
    }
    ExportResult Put(const std::string& name, std::string_view content) override {
        Files[name] = std::string(content);
        if (const auto noted = noted_.find(name); noted != noted_.end())
            Inputs[name] = noted->second;
        return {};
    }
    bool RemembersPages() const override { return true; }
    bool Keeps(const std::string& name, std::uint64_t inputs) override {
        const auto before = earlier_.find(name);
        if (before != earlier_.end() && before->second == inputs) {
            Kept.insert(name);
            Inputs[name] = inputs;
            return true;
        }
        noted_[name] = inputs;
        return false;
    }

    std::map<std::string, std::string> Files;
    std::map<std::string, std::uint64_t> Inputs;
    std::set<std::string> Kept;

  private:
    std::map<std::string, std::uint64_t> earlier_, noted_;
};

RememberingSink SiteOf(const AnalysisStore& store,
                       std::map<std::string, std::uint64_t> earlier = {}) {
    RememberingSink sink(std::move(earlier));
    EXPECT_TRUE(WriteDashboardFiles(store, {}, sink).Ok());
    return sink;
}

void Chats(test::TestStore& t, int from, int to, std::string_view player = "Ace") {
    for (int k = from; k < to; ++k)
        t.Chat(true, player, k % 3 == 0, "Base", "message " + std::to_string(k));
}

std::set<std::string> ChangedChatFiles(const RememberingSink& before,
                                       const RememberingSink& after) {
    std::set<std::string> changed;
    for (const auto& [name, content] : after.Files) {
        const bool chat = name.starts_with("voice") || name.starts_with("rows/voice");
        const auto old = before.Files.find(name);
        if (chat && (old == before.Files.end() || old->second != content))
            changed.insert(name);
    }
    return changed;
}

TEST(SiteGrowth, NewMessagesChangeOnlyTheFirstChatPageAndThoseTheyAreOn) {
    test::TestStore t;
    t.Kill("Ace", "Bob", "MP40");
    Chats(t, 0, static_cast<int>(2 * kChatRowsPerPage + 500));
    const RememberingSink before = SiteOf(t.Store);
    ASSERT_TRUE(before.Files.contains("voice/voice-3.html"));

    Chats(t, 0, static_cast<int>(kChatRowsPerPage)); // page 3 fills, page 4 begins
    const RememberingSink after = SiteOf(t.Store);
    EXPECT_EQ(ChangedChatFiles(before, after),
              (std::set<std::string>{"voice.html", "voice/voice-3.html", "voice/voice-4.html",
                                     "rows/voice-1.js"}));
}

TEST(SiteGrowth, ARowsPartFullOfMessagesStaysAsItWas) {
    test::TestStore t;
    Chats(t, 0, static_cast<int>(kChatRowsPerPart + 10));
    const RememberingSink before = SiteOf(t.Store);
    Chats(t, 0, 10);
    const RememberingSink after = SiteOf(t.Store);
    EXPECT_EQ(before.Files.at("rows/voice-1.js"), after.Files.at("rows/voice-1.js"));
    EXPECT_NE(before.Files.at("rows/voice-2.js"), after.Files.at("rows/voice-2.js"));
    EXPECT_EQ(after.Files.at("voice-rows.js"),
              "qlaRowParts(\"chat\",[\"rows/voice-1.js\",\"rows/voice-2.js\"]);\n");
}

// Every page kept unbuilt must equal the page built afresh: each change below alters an input
// of some chat pages (a new message, a player's link, the game title) and none of others.
TEST(SiteGrowth, APageKeptForItsInputsIsThePageThatWouldBeBuilt) {
    test::TestStore t;
    // More than a thousand players: those seen in few lines have a row in the list, not a page,
    // and links to them follow their place in the list, which kills move.
    for (int k = 0; k < 1100; ++k)
        t.Kill("Player" + std::to_string(k), "Victim", "MP40");
    Chats(t, 0, 1500, "Player7");
    Chats(t, 1500, 1503, "Player1050"); // seen in four lines: a row in the list
    Chats(t, 1503, 2600, "Player7");
    RememberingSink previous = SiteOf(t.Store);

    const auto checkAgainstFresh = [&](const std::string& step, std::size_t minKept) {
        const RememberingSink fresh = SiteOf(t.Store);
        RememberingSink kept = SiteOf(t.Store, previous.Inputs);
        EXPECT_GE(kept.Kept.size(), minKept) << step;
        for (const std::string& name : kept.Kept)
            EXPECT_EQ(previous.Files.at(name), fresh.Files.at(name)) << step << ": " << name;
        for (const auto& [name, content] : kept.Files)
            EXPECT_EQ(content, fresh.Files.at(name)) << step << ": " << name;
        EXPECT_EQ(kept.Files.size() + kept.Kept.size(), fresh.Files.size()) << step;
        previous = fresh;
    };
    checkAgainstFresh("nothing new", 5);
    Chats(t, 2600, 2700, "Player7");
    checkAgainstFresh("new messages", 2);
    // Player1050 gets a page of his own: links to him lead there now, on page 2 of the chat.
    for (int k = 0; k < 30; ++k)
        t.Kill("Player1050", "Victim", "MP40");
    checkAgainstFresh("a speaker's link moved", 1);
    EXPECT_NE(
        previous.Files.at("voice/voice-2.html").find(PlayerPageAddress("Player1050") + ".html\""),
        std::string::npos);
}

} // namespace
} // namespace qla
