#include "stats/awards.h"

#include "core/names.h"
#include "core/weapons.h"
#include "stats/ratio.h"
#include "stats/skill_rating.h"

#include <algorithm>
#include <functional>
#include <map>
#include <unordered_map>
#include <utility>

namespace qla {
namespace {

// A player in the running: the award's value, then what breaks a tie (smaller first), then the
// name without colour codes and the order the players were met.
struct Candidate {
    PlayerIndex Player = 0;
    std::int64_t Value = 0;
    std::int64_t TieBreak = 0;
    std::string Plain;
};

bool Before(const Candidate& a, const Candidate& b) {
    if (a.Value != b.Value)
        return a.Value > b.Value;
    if (a.TieBreak != b.TieBreak)
        return a.TieBreak < b.TieBreak;
    if (a.Plain != b.Plain)
        return a.Plain < b.Plain;
    return a.Player < b.Player;
}

// The first of the candidates, as an entry; none when there is none.
std::vector<AwardEntry> Winner(const AnalysisStore& store, std::vector<Candidate> candidates) {
    if (candidates.empty())
        return {};
    const Candidate& best = *std::min_element(candidates.begin(), candidates.end(), Before);
    return {
        AwardEntry{store.Players[static_cast<std::size_t>(best.Player)].Name, "", "", best.Value}};
}

// Every player whose `value` reaches `minimum`, ties broken by `tieBreak`.
template <class Value, class TieBreak>
std::vector<Candidate> Candidates(const AnalysisStore& store, std::int64_t minimum, Value value,
                                  TieBreak tieBreak) {
    std::vector<Candidate> candidates;
    for (const PlayerIndex p : store.PlayerIndexes()) {
        const PlayerRecord& player = store.Players[static_cast<std::size_t>(p)];
        const std::int64_t v = value(p, player);
        if (v >= minimum && v > 0)
            candidates.push_back({p, v, tieBreak(player), StripColourCodes(player.Name)});
    }
    return candidates;
}

std::int64_t Deaths(const PlayerRecord& player) {
    return player.Deaths[kWeaponTotal];
}
std::int64_t Kills(const PlayerRecord& player) {
    return player.Kills[kWeaponTotal];
}
std::int64_t MoreKills(const PlayerRecord& player) {
    return -Kills(player);
}

// The store's logs as spans of KillEvents: [0, end0), [end0, end1), ...
std::vector<std::pair<std::size_t, std::size_t>>
LogSpansOf(const AnalysisStore& store, std::span<const std::size_t> killEntriesEnd) {
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::size_t begin = 1; // after the placeholder
    if (killEntriesEnd.empty())
        return {{begin, store.KillEvents.size()}};
    for (const std::size_t end : killEntriesEnd) {
        spans.emplace_back(begin, std::max(begin, end));
        begin = std::max(begin, end);
    }
    return spans;
}

std::vector<AwardEntry> NemesisPairs(const AnalysisStore& store, std::int64_t minimum) {
    constexpr std::size_t kPairsShown = 5;
    // A long history's store holds millions of entries: the pairs are summed in a hash table,
    // and only those that may be shown (the kills of the fifth most and more) get their names.
    std::unordered_map<std::uint64_t, std::int64_t> kills;
    for (const std::size_t at : EntryIndexes(store.KillEvents)) {
        const KillEvent& event = store.KillEvents[at];
        if (event.WeaponText != kEventTeamkill && event.Killer != event.Victim)
            kills[(std::uint64_t{static_cast<std::uint32_t>(event.Killer)} << 32) |
                  static_cast<std::uint32_t>(event.Victim)] += store.KillEventCount(at);
    }
    std::vector<std::int64_t> counts;
    for (const auto& [who, count] : kills)
        if (count >= minimum)
            counts.push_back(count);
    if (counts.empty())
        return {};
    const std::size_t last = std::min(kPairsShown, counts.size()) - 1;
    std::ranges::nth_element(counts, counts.begin() + static_cast<std::ptrdiff_t>(last),
                             std::greater<>());
    const std::int64_t least = counts[last];
    struct Pair {
        std::string Killer, Victim, PlainKiller, PlainVictim;
        std::int64_t Kills = 0;
    };
    std::vector<Pair> pairs;
    for (const auto& [who, count] : kills) {
        if (count < minimum || count < least)
            continue;
        const std::string& killer = store.Players[static_cast<std::size_t>(who >> 32)].Name;
        const std::string& victim = store.Players[static_cast<std::size_t>(who & 0xffffffffu)].Name;
        pairs.push_back(
            {killer, victim, StripColourCodes(killer), StripColourCodes(victim), count});
    }
    std::ranges::sort(pairs, [](const Pair& a, const Pair& b) {
        return std::tie(b.Kills, a.PlainKiller, a.PlainVictim, a.Killer, a.Victim) <
               std::tie(a.Kills, b.PlainKiller, b.PlainVictim, b.Killer, b.Victim);
    });
    std::vector<AwardEntry> entries;
    for (std::size_t i = 0; i < pairs.size() && i < kPairsShown; ++i)
        entries.push_back({pairs[i].Killer, pairs[i].Victim, "", pairs[i].Kills});
    return entries;
}

std::vector<AwardEntry> FirstBloods(const AwardInputs& inputs) {
    const AnalysisStore& store = inputs.Store;
    std::vector<AwardEntry> entries;
    const auto add = [&](std::size_t log, PlayerIndex killer, PlayerIndex victim) {
        entries.push_back({store.Players[static_cast<std::size_t>(killer)].Name,
                           store.Players[static_cast<std::size_t>(victim)].Name,
                           log < inputs.LogLabels.size() ? inputs.LogLabels[log] : "", 1});
    };
    // The first kill between players of `kills` (entry positions), if any.
    const auto first = [&](std::size_t log, std::size_t begin, std::size_t end, auto entryAt) {
        for (std::size_t at = begin; at < end; ++at) {
            const KillEvent& event = store.KillEvents[entryAt(at)];
            if (event.WeaponText == kEventTeamkill)
                continue;
            add(log, event.Killer, event.Victim);
            return;
        }
    };
    if (!inputs.LogFigures.empty()) {
        for (std::size_t log = 0; log < inputs.LogFigures.size(); ++log) {
            const LogKillFigures& figures = inputs.LogFigures[log];
            if (figures.Known)
                for (const auto& [killer, victim] : figures.SessionFirstBloods)
                    add(log, killer, victim);
            else if (figures.FirstBloodKiller != 0)
                add(log, figures.FirstBloodKiller, figures.FirstBloodVictim);
        }
        return entries;
    }
    const KillOrder* order = inputs.Order;
    const auto spans = LogSpansOf(store, inputs.KillEntriesEnd);
    for (std::size_t log = 0; log < spans.size(); ++log) {
        // A stored log's order tells the first blood of each session begun inside it too.
        if (order && log < order->Known.size() && order->Known[log]) {
            for (const auto& [begin, end] : order->SessionsOf(log))
                first(log, begin, end, [order](std::size_t at) { return order->Entries[at]; });
            continue;
        }
        first(log, spans[log].first, spans[log].second, [](std::size_t at) { return at; });
    }
    return entries;
}

std::vector<AwardEntry> WeaponWinners(const AnalysisStore& store, std::int64_t minimum) {
    std::vector<AwardEntry> entries;
    for (WeaponId weapon = 1; weapon < kKillSlots; ++weapon) {
        auto winner = Winner(
            store,
            Candidates(
                store, minimum,
                [weapon](PlayerIndex, const PlayerRecord& p) { return p.Kills[weapon]; }, Deaths));
        if (winner.empty())
            continue;
        winner.front().Subject = std::string(WeaponDisplayName(weapon));
        entries.push_back(std::move(winner.front()));
    }
    return entries;
}

std::vector<AwardEntry> GainWinner(const AwardInputs& inputs, std::int64_t minimum) {
    const AnalysisStore& store = inputs.Store;
    std::vector<Candidate> candidates;
    for (const RatingGain& gain : inputs.Gains) {
        const auto player = store.FindPlayer(gain.Player);
        if (!player || gain.Encounters < static_cast<double>(minimum))
            continue;
        candidates.push_back({*player, gain.Points,
                              Deaths(store.Players[static_cast<std::size_t>(*player)]),
                              StripColourCodes(gain.Player)});
    }
    return Winner(store, std::move(candidates));
}

} // namespace

std::int64_t SuicidesOf(const PlayerRecord& player) {
    std::int64_t suicides = 0;
    for (int cause = kFirstSuicideCause; cause <= kLastSuicideCause; ++cause)
        suicides += player.Deaths[cause];
    for (int cause = kFirstFullCause; cause <= kLastFullCause; ++cause)
        suicides += player.Deaths[cause];
    return suicides;
}

namespace {

// Each player's rise from `earlier` to `after`, where he met anyone in between.
std::vector<RatingGain> GainsBetween(const AnalysisStore& whole,
                                     const std::vector<SkillRating>& earlier,
                                     const std::vector<SkillRating>& after) {
    std::vector<RatingGain> gains;
    for (std::size_t p = 0; p < after.size() && p < earlier.size(); ++p) {
        const double encounters = after[p].Encounters - earlier[p].Encounters;
        if (encounters <= 0)
            continue;
        gains.push_back({whole.Players[p + 1].Name,
                         ShownRating(after[p]).Conservative - ShownRating(earlier[p]).Conservative,
                         encounters});
    }
    return gains;
}

} // namespace

std::vector<RatingGain> RatingGains(const AnalysisStore& whole,
                                    std::span<const std::size_t> killEntriesEnd,
                                    const std::vector<bool>& before,
                                    const std::vector<bool>& through) {
    // A log left out weighs nothing in the fit.
    const auto fitOn = [&](const std::vector<bool>& logs) {
        EntryWeights weights;
        weights.KillEntriesEnd.assign(killEntriesEnd.begin(), killEntriesEnd.end());
        for (std::size_t log = 0; log < killEntriesEnd.size(); ++log)
            weights.Weights.push_back(log < logs.size() && logs[log] ? 1.0 : 0.0);
        return FitSkill(EncountersOf(whole, weights));
    };
    return GainsBetween(whole, fitOn(before), fitOn(through));
}

std::vector<RatingGain> RatingGainsOverAll(const AnalysisStore& whole,
                                           const std::vector<SkillRating>& fitOnAll) {
    // Before any log every player stands at the prior: the fit on no kill at all.
    Encounters none;
    none.PlayerCount = fitOnAll.size();
    return GainsBetween(whole, FitSkill(none), fitOnAll);
}

std::vector<AwardResult> ComputeAwards(const AwardInputs& inputs) {
    const AnalysisStore& store = inputs.Store;
    std::vector<PlayerStreaks> streaks;
    if (inputs.StreaksKnown && inputs.Streaks.empty())
        streaks = LongestStreaks(store, inputs.KillEntriesEnd, inputs.Order);
    else if (inputs.StreaksKnown)
        streaks.assign(inputs.Streaks.begin(), inputs.Streaks.end());
    streaks.resize(std::max(streaks.size(), store.Players.size()));
    std::vector<AwardResult> results;
    for (const AwardRule& rule : AwardRules()) {
        AwardResult result{rule.Id, {}, true};
        const std::int64_t minimum = rule.MinimumCount;
        const auto single = [&](auto value, auto tieBreak) {
            return Winner(store, Candidates(store, minimum, value, tieBreak));
        };
        switch (rule.Id) {
        case AwardId::MostKills:
            result.Entries =
                single([](PlayerIndex, const PlayerRecord& p) { return Kills(p); }, Deaths);
            break;
        case AwardId::BestRatingGain:
            result.Entries = GainWinner(inputs, minimum);
            break;
        case AwardId::LongestKillStreak:
        case AwardId::LongestDeathStreak: {
            result.Known = inputs.StreaksKnown;
            if (!result.Known)
                break;
            const bool kills = rule.Id == AwardId::LongestKillStreak;
            result.Entries = kills ? single(
                                         [&](PlayerIndex p, const PlayerRecord&) {
                                             return streaks[static_cast<std::size_t>(p)].Kills;
                                         },
                                         Deaths)
                                   : single(
                                         [&](PlayerIndex p, const PlayerRecord&) {
                                             return streaks[static_cast<std::size_t>(p)].Deaths;
                                         },
                                         Kills);
            break;
        }
        case AwardId::WeaponKills:
            result.Entries = WeaponWinners(store, minimum);
            break;
        case AwardId::BestRatio:
            // The table's minimum is in kills, checked here; any ratio above 0 then competes.
            result.Entries = Winner(store, Candidates(
                                               store, 1,
                                               [](PlayerIndex, const PlayerRecord& p) {
                                                   return Kills(p) < kRatioAwardKills ||
                                                                  Deaths(p) < kRatioAwardDeaths
                                                              ? std::int64_t{0}
                                                              : KillDeathRatio(Kills(p), Deaths(p));
                                               },
                                               MoreKills));
            break;
        case AwardId::MostTeamkills:
            result.Entries =
                single([](PlayerIndex, const PlayerRecord& p) { return p.Teamkills; }, Deaths);
            break;
        case AwardId::MostSuicides:
            result.Entries =
                single([](PlayerIndex, const PlayerRecord& p) { return SuicidesOf(p); }, Kills);
            break;
        case AwardId::MostChat:
            result.Entries =
                single([](PlayerIndex,
                          const PlayerRecord& p) { return p.VoiceChatCount + p.TextChatCount; },
                       Deaths);
            break;
        case AwardId::Nemesis:
            result.Entries = NemesisPairs(store, minimum);
            break;
        case AwardId::FirstBlood:
            result.Entries = FirstBloods(inputs);
            break;
        }
        results.push_back(std::move(result));
    }
    return results;
}

} // namespace qla
