// The store's bookkeeping rules. Each rule is counted from a different side (events, per-player
// counters, run totals) so that a parser that updates one side and not the other is caught.
#include "store_invariants.h"

#include "core/names.h"
#include "core/text.h"
#include "core/weapons.h"

#include <cstdint>
#include <unordered_set>

namespace qla::robust {

namespace {

struct Sums {
    std::int64_t Kills[kKillSlots]{};
    std::int64_t Deaths[kDeathSlots]{};
    std::int64_t Teamkills = 0;
    std::int64_t VoiceChats = 0;
    std::int64_t TextChats = 0;
};

class Report {
  public:
    explicit Report(std::vector<std::string>& out) : out_(out) {}
    void Equal(std::string_view what, std::int64_t actual, std::int64_t expected) {
        if (actual != expected)
            out_.push_back(std::string(what) + ": " + std::to_string(actual) + " instead of " +
                           std::to_string(expected));
    }
    void True(bool condition, std::string message) {
        if (!condition)
            out_.push_back(std::move(message));
    }

  private:
    std::vector<std::string>& out_;
};

bool IsStoredPlayer(const AnalysisStore& store, PlayerIndex index) {
    return index >= 1 && index <= store.PlayerCount();
}

void CheckPlayers(const AnalysisStore& store, Report& report, Sums& sums) {
    const PlayerRecord& placeholder = store.Players.at(0);
    report.True(placeholder.Name.empty() && TotalsOfPlayer(placeholder).Total == 0 &&
                    placeholder.Deaths[kWeaponTeamkill] == 0,
                "the placeholder record 0 was updated");
    std::unordered_set<std::string_view> names;
    for (const PlayerIndex i : store.PlayerIndexes()) {
        const PlayerRecord& p = store.Players[static_cast<std::size_t>(i)];
        const std::string label = "player " + std::to_string(i);
        report.True(!p.Name.empty(), label + " has an empty name");
        report.True(names.insert(p.Name).second, label + " repeats the name \"" + p.Name + "\"");
        report.True(IsValidUtf8(p.Name), label + " has a name that is not UTF-8");
        report.True(!p.Name.starts_with(' ') &&
                        (NormalizeName(p.Name).size() == p.Name.size() || p.Name.ends_with(' ')),
                    label + " has a name that was not normalised: \"" + p.Name + "\"");
        report.True(store.FindPlayer(p.Name) == i, label + " is not found by its own name");
        std::int64_t weaponKills = 0;
        for (int w = 0; w < kKillSlots; ++w) {
            report.True(p.Kills[w] >= 0, label + " has a negative kill counter");
            sums.Kills[w] += p.Kills[w];
            if (w > 0)
                weaponKills += p.Kills[w];
        }
        std::int64_t causeDeaths = 0;
        for (int w = 0; w < kDeathSlots; ++w) {
            report.True(p.Deaths[w] >= 0, label + " has a negative death counter");
            sums.Deaths[w] += p.Deaths[w];
            if (w > 0 && w != kWeaponTeamkill)
                causeDeaths += p.Deaths[w];
        }
        report.Equal(label + " Kills(0) against Kills(1..15)", p.Kills[0], weaponKills);
        report.Equal(label + " Deaths(0) against Deaths(1..22)", p.Deaths[0], causeDeaths);
        sums.Teamkills += p.Teamkills;
        sums.VoiceChats += p.VoiceChatCount;
        sums.TextChats += p.TextChatCount;
    }
}

void CheckChats(const AnalysisStore& store, const std::vector<ChatEntry>& chats,
                std::string_view kind, Report& report) {
    for (const std::size_t i : EntryIndexes(chats)) {
        const ChatEntry& chat = chats[i];
        const std::string label = std::string(kind) + " " + std::to_string(i);
        report.True(IsStoredPlayer(store, chat.Player), label + " names no stored player");
        report.True(IsValidUtf8(chat.Text) && IsValidUtf8(store.LocationOf(chat)),
                    label + " holds text that is not UTF-8");
    }
}

} // namespace

std::vector<std::string> StoreViolations(const AnalysisStore& store, const AnalysisTotals& totals) {
    std::vector<std::string> out;
    Report report(out);
    if (store.Players.empty() || store.KillEvents.empty() || store.VoiceChats.empty() ||
        store.TextChats.empty() || store.UnknownLines.empty()) {
        out.emplace_back("an array lost its placeholder element 0");
        return out;
    }
    Sums sums;
    CheckPlayers(store, report, sums);

    std::int64_t killEvents = 0;
    std::int64_t teamkillEvents = 0;
    const std::string_view teamkill = WeaponDisplayName(kWeaponTeamkill);
    for (const std::size_t i : EntryIndexes(store.KillEvents)) {
        const KillEvent& event = store.KillEvents[i];
        const std::string label = "kill event " + std::to_string(i);
        report.True(IsStoredPlayer(store, event.Killer), label + " has no stored killer");
        report.True(IsStoredPlayer(store, event.Victim), label + " has no stored victim");
        ++(event.Weapon() == teamkill ? teamkillEvents : killEvents);
    }
    CheckChats(store, store.VoiceChats, "voice chat", report);
    CheckChats(store, store.TextChats, "text chat", report);

    std::int64_t suicides = 0;
    for (int w = kFirstSuicideCause; w <= kLastFullCause; ++w) {
        if (w != kWeaponTeamkill)
            suicides += sums.Deaths[w];
    }

    report.Equal("Total against the number of lines", totals.Total,
                 static_cast<std::int64_t>(store.LogLines.size()));
    report.Equal("Deaths against kill, teamkill and died lines", totals.Deaths,
                 totals.Kills + totals.Teamkills + suicides);
    report.True(totals.Kills + totals.Teamkills + suicides + totals.VoiceChats + totals.TextChats +
                        totals.Unknown <=
                    totals.Total,
                "the line kinds add up to more than Total");
    report.Equal("kill events (no teamkills) against Kills", killEvents, totals.Kills);
    report.Equal("sum of Kills(0) against kill events", sums.Kills[0], killEvents);
    report.Equal("sum of Deaths(0) against kill events and suicides", sums.Deaths[0],
                 killEvents + suicides);
    report.Equal("teamkill events against Teamkills", teamkillEvents, totals.Teamkills);
    report.Equal("sum of Teamkills against teamkill events", sums.Teamkills, teamkillEvents);
    report.Equal("sum of Deaths(23) against teamkill events", sums.Deaths[kWeaponTeamkill],
                 teamkillEvents);
    for (int w = 1; w <= kWeaponUnknown; ++w)
        report.Equal("weapon " + std::to_string(w) + ": sum of Kills against sum of Deaths",
                     sums.Kills[w], sums.Deaths[w]);
    report.Equal("voice chat entries against Voicechats",
                 static_cast<std::int64_t>(store.VoiceChats.size()) - 1, totals.VoiceChats);
    report.Equal("sum of VoiceChatCount against Voicechats", sums.VoiceChats, totals.VoiceChats);
    report.Equal("text chat entries against Textchats",
                 static_cast<std::int64_t>(store.TextChats.size()) - 1, totals.TextChats);
    report.Equal("sum of TextChatCount against Textchats", sums.TextChats, totals.TextChats);
    report.Equal("unknown lines against Unknown",
                 static_cast<std::int64_t>(store.UnknownLines.size()) - 1, totals.Unknown);
    return out;
}

} // namespace qla::robust
