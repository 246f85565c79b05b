// A site written again after new lines: the chat archive's pages of the earlier logs stay as
// they were, and a page a sink keeps unbuilt (its inputs hashed the same) is byte for byte the
// page that would have been built.
#include "export/dashboard/dashboard_export.h"
#include "export/dashboard/player_address.h"
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
                       std::map<std::string, std::uint64_t> earlier = {},
                       const DashboardSettings& settings = {}) {
    RememberingSink sink(std::move(earlier));
    EXPECT_TRUE(WriteDashboardFiles(store, settings, sink).Ok());
    return sink;
}

void Chats(test::TestStore& t, int from, int to, std::string_view player = "Ace") {
    for (int k = from; k < to; ++k)
        t.Chat(true, player, k % 3 == 0, "Base", "message " + std::to_string(k));
}

// The logs of a history, each ending where the store's chats stood when it was filed.
struct History {
    DashboardSettings Settings;

    void EndLog(const AnalysisStore& store, std::string date) {
        const std::int64_t id = static_cast<std::int64_t>(Settings.Logs.size()) + 1;
        Settings.Logs.push_back({id, "log" + std::to_string(id) + ".log", std::move(date),
                                 store.VoiceChats.size(), store.TextChats.size()});
    }
    // The last log grows to the store's end.
    void Grow(const AnalysisStore& store) {
        Settings.Logs.back().VoiceChatsEnd = store.VoiceChats.size();
        Settings.Logs.back().TextChatsEnd = store.TextChats.size();
    }
};

std::set<std::string> ChangedFiles(const RememberingSink& before, const RememberingSink& after) {
    std::set<std::string> changed;
    for (const auto& [name, content] : after.Files) {
        const auto old = before.Files.find(name);
        if (old == before.Files.end() || old->second != content)
            changed.insert(name);
    }
    return changed;
}

TEST(SiteGrowth, NewMessagesChangeOnlyTheirLogsPagesAndTheChatIndex) {
    test::TestStore t;
    History history;
    t.Kill("Ace", "Bob", "MP40");
    Chats(t, 0, 1500);
    t.Chat(false, "Bob", false, "", "first log's text");
    history.EndLog(t.Store, "2009-03-02 20:00:00");
    Chats(t, 0, 20);
    history.EndLog(t.Store, "2009-03-03 20:00:00");
    const RememberingSink before = SiteOf(t.Store, {}, history.Settings);
    ASSERT_TRUE(before.Files.contains("voice/log-1.html"));
    ASSERT_TRUE(before.Files.contains("text/log-1.html"));
    EXPECT_FALSE(before.Files.contains("text/log-2.html")); // no text chat in log 2

    Chats(t, 20, 40);
    history.Grow(t.Store);
    const RememberingSink grown = SiteOf(t.Store, before.Inputs, history.Settings);
    // The overview counts the voice chats and links the latest logs' chat; Ace's page counts his
    // messages, and so does the award for the most of them.
    EXPECT_EQ(ChangedFiles(before, grown),
              (std::set<std::string>{"index.html", "voice.html", "voice/log-2.html", "data.json",
                                     "awards.html", PlayerPagePath(PlayerPageAddress("Ace"))}));
    EXPECT_TRUE(grown.Kept.contains("voice/log-1.html"));
    EXPECT_TRUE(grown.Kept.contains("text/log-1.html"));
}

// Every page kept unbuilt must equal the page built afresh: each change below alters an input
// of some chat pages (a new message, a player's link, the game title) and none of others.
TEST(SiteGrowth, APageKeptForItsInputsIsThePageThatWouldBeBuilt) {
    test::TestStore t;
    // More than a thousand players: those seen in few lines have a row in the list, not a page,
    // and links to them follow their place in the list, which kills move.
    for (int k = 0; k < 1100; ++k)
        t.Kill("Player" + std::to_string(k), "Victim", "MP40");
    History history;
    Chats(t, 0, 1500, "Player7");
    history.EndLog(t.Store, "2009-03-02 20:00:00");
    Chats(t, 1500, 1503, "Player1050"); // seen in four lines: a row in the list
    Chats(t, 1503, 2600, "Player7");
    history.EndLog(t.Store, "2009-03-03 20:00:00");
    Chats(t, 2600, 2610, "Player8");
    history.EndLog(t.Store, "");
    RememberingSink previous = SiteOf(t.Store, {}, history.Settings);

    const auto checkAgainstFresh = [&](const std::string& step, std::size_t minKept) {
        history.Grow(t.Store);
        const RememberingSink fresh = SiteOf(t.Store, {}, history.Settings);
        RememberingSink kept = SiteOf(t.Store, previous.Inputs, history.Settings);
        EXPECT_GE(kept.Kept.size(), minKept) << step;
        for (const std::string& name : kept.Kept)
            EXPECT_EQ(previous.Files.at(name), fresh.Files.at(name)) << step << ": " << name;
        for (const auto& [name, content] : kept.Files)
            EXPECT_EQ(content, fresh.Files.at(name)) << step << ": " << name;
        EXPECT_EQ(kept.Files.size() + kept.Kept.size(), fresh.Files.size()) << step;
        previous = fresh;
    };
    checkAgainstFresh("nothing new", 3);
    Chats(t, 2610, 2700, "Player7");
    checkAgainstFresh("new messages", 2);
    // Player1050 gets a page of his own: links to him lead there now, from log 2's chat.
    for (int k = 0; k < 30; ++k)
        t.Kill("Player1050", "Victim", "MP40");
    checkAgainstFresh("a speaker's link moved", 2);
    EXPECT_NE(previous.Files.at("voice/log-2.html").find(PlayerPageAddress("Player1050") + ".html"),
              std::string::npos);
}

} // namespace
} // namespace qla
