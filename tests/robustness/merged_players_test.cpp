// Merging players by names on generated logs, checked against a computation of its own: names
// grouped by key with plain relabelling (no union-find; renames join nothing by names alone),
// counters summed per group, display names counted from the events, and every event followed to
// its group.
#include "analysis/analysis.h"
#include "analysis/merge_players.h"
#include "core/names.h"
#include "generator.h"
#include "store_invariants.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace qla {
namespace {

struct MergeCase {
    const char* Name;
    loggen::Language Language;
    bool Hostile;
};

// Every player name again in three spellings of the same key, as chat lines.
std::vector<std::string> VariantLines(const AnalysisStore& store) {
    std::vector<std::string> lines;
    for (const PlayerRecord& player : RealEntries(store.Players)) {
        std::string upper = StripColourCodes(player.Name);
        for (char& c : upper)
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        for (const std::string& variant : {upper, "^3" + player.Name, "  " + player.Name + " "})
            lines.push_back("[skipnotify]" + variant + "^7: ^2again");
    }
    return lines;
}

AnalysisStore AnalyzedWithVariants(const MergeCase& c, LogLanguage language) {
    loggen::Options options;
    options.lines = 3000;
    options.players = 30;
    options.language = c.Language;
    options.hostile = c.Hostile;
    std::ostringstream out;
    EXPECT_TRUE(loggen::generateLog(options, out));
    AnalysisStore first;
    first.LogLines = LogLineList::FromBytes(out.str());
    AnalyzeLog(first, language);
    std::string log = out.str();
    for (const std::string& line : VariantLines(first))
        log += line + "\r\n";
    AnalysisStore store;
    store.LogLines = LogLineList::FromBytes(log);
    return store;
}

class MergedPlayers : public testing::TestWithParam<MergeCase> {};

TEST_P(MergedPlayers, MatchAnIndependentComputation) {
    const MergeCase& c = GetParam();
    const LogLanguage language =
        c.Language == loggen::Language::German ? LogLanguage::German : LogLanguage::English;
    AnalysisStore store = AnalyzedWithVariants(c, language);
    const AnalysisTotals totals = AnalyzeLog(store, language);
    ASSERT_GT(store.Renames.size(), 5u) << "the log must really hold renames, which join nothing";
    const std::vector<PlayerRecord> before = store.Players;
    const std::vector<KillEvent> eventsBefore = store.KillEvents;

    // Groups: by key first, then each rename relabels the new name's group as the old one's.
    std::map<std::string, int> groupOf;
    std::map<std::string, int> groupOfKey;
    const auto add = [&](const std::string& name) {
        if (groupOf.contains(name))
            return;
        const std::string key = IdentityKey(name);
        const bool byKey = !key.empty() && name != kUnnamedPlayer;
        const int fresh = static_cast<int>(groupOf.size());
        groupOf[name] = byKey ? groupOfKey.try_emplace(key, fresh).first->second : fresh;
    };
    for (const PlayerRecord& p : RealEntries(before))
        add(p.Name);

    // Lines per name counted from the events and chats; suicides from the counters.
    std::vector<std::int64_t> lines(before.size(), 0);
    for (const KillEvent& e : RealEntries(eventsBefore)) {
        ++lines[static_cast<std::size_t>(e.Killer)];
        if (e.Victim != e.Killer)
            ++lines[static_cast<std::size_t>(e.Victim)];
    }
    for (const ChatEntry& chat : RealEntries(store.VoiceChats))
        ++lines[static_cast<std::size_t>(chat.Player)];
    for (const ChatEntry& chat : RealEntries(store.TextChats))
        ++lines[static_cast<std::size_t>(chat.Player)];
    for (std::size_t i = 1; i < before.size(); ++i)
        for (WeaponId cause = 16; cause <= 22; ++cause)
            lines[i] += before[i].Deaths[cause];

    std::map<int, PlayerRecord> sums; // by group; Name is the expected display name
    std::map<int, std::int64_t> mostLines;
    for (std::size_t i = 1; i < before.size(); ++i) {
        const int group = groupOf[before[i].Name];
        PlayerRecord& sum = sums[group];
        for (std::size_t w = 0; w < sum.Kills.size(); ++w)
            sum.Kills[w] += before[i].Kills[w];
        for (std::size_t w = 0; w < sum.Deaths.size(); ++w)
            sum.Deaths[w] += before[i].Deaths[w];
        sum.Teamkills += before[i].Teamkills;
        sum.VoiceChatCount += before[i].VoiceChatCount;
        sum.TextChatCount += before[i].TextChatCount;
        if (!mostLines.contains(group) || lines[i] > mostLines[group]) {
            mostLines[group] = lines[i];
            sum.Name = before[i].Name;
        }
    }

    MergePlayers(store, {});
    ASSERT_EQ(static_cast<std::size_t>(store.PlayerCount()), sums.size());
    EXPECT_LT(store.PlayerCount(), static_cast<std::int32_t>(before.size()) - 1);
    for (const PlayerRecord& merged : RealEntries(store.Players)) {
        const PlayerRecord& expected = sums[groupOf.at(merged.Name)];
        EXPECT_EQ(merged.Name, expected.Name);
        EXPECT_EQ(merged.Kills, expected.Kills) << merged.Name;
        EXPECT_EQ(merged.Deaths, expected.Deaths) << merged.Name;
        EXPECT_EQ(merged.Teamkills, expected.Teamkills) << merged.Name;
        EXPECT_EQ(merged.VoiceChatCount, expected.VoiceChatCount) << merged.Name;
        EXPECT_EQ(merged.TextChatCount, expected.TextChatCount) << merged.Name;
    }
    ASSERT_EQ(store.KillEvents.size(), eventsBefore.size());
    for (std::size_t k = 1; k < eventsBefore.size(); ++k) {
        const auto nameAt = [&](PlayerIndex i) {
            return store.Players[static_cast<std::size_t>(i)].Name;
        };
        EXPECT_EQ(groupOf[nameAt(store.KillEvents[k].Killer)],
                  groupOf[before[static_cast<std::size_t>(eventsBefore[k].Killer)].Name]);
        EXPECT_EQ(groupOf[nameAt(store.KillEvents[k].Victim)],
                  groupOf[before[static_cast<std::size_t>(eventsBefore[k].Victim)].Name]);
        EXPECT_EQ(store.KillEvents[k].Weapon(), eventsBefore[k].Weapon());
    }
    for (const std::string& broken : robust::StoreViolations(store, totals))
        ADD_FAILURE() << broken;
}

const MergeCase kMergeCases[] = {
    {"english", loggen::Language::English, false},
    {"german", loggen::Language::German, false},
    {"english_hostile", loggen::Language::English, true},
    {"german_hostile", loggen::Language::German, true},
};

INSTANTIATE_TEST_SUITE_P(Generated, MergedPlayers, testing::ValuesIn(kMergeCases),
                         [](const testing::TestParamInfo<MergeCase>& info) {
                             return std::string(info.param.Name);
                         });

} // namespace
} // namespace qla
