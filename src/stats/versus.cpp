// Counting two players' kills on each other.
#include "stats/versus.h"

#include <algorithm>
#include <array>

namespace qla {
namespace {

bool CountsBetween(PlayerIndex killer, PlayerIndex victim, EventWeapon weaponText,
                   PlayerIndex player, PlayerIndex other) {
    if (weaponText == kEventTeamkill || player == other)
        return false;
    return (killer == player && victim == other) || (killer == other && victim == player);
}

void Add(VersusCounts& counts, PlayerIndex killer, PlayerIndex player, std::int64_t kills) {
    (killer == player ? counts.Kills : counts.Deaths) += kills;
}

} // namespace

std::vector<WeaponVersus> CountWeaponsVersus(std::span<const WeaponKill> kills, PlayerIndex player,
                                             PlayerIndex other) {
    std::array<VersusCounts, kEventWeaponTexts.size()> byText{};
    for (const WeaponKill& kill : kills)
        if (kill.WeaponText < byText.size() &&
            CountsBetween(kill.Killer, kill.Victim, kill.WeaponText, player, other))
            Add(byText[kill.WeaponText], kill.Killer, player,
                static_cast<std::int64_t>(kill.Count));
    std::vector<WeaponVersus> weapons;
    for (std::size_t text = 0; text < byText.size(); ++text)
        if (byText[text].EitherWay() > 0)
            weapons.push_back({static_cast<EventWeapon>(text), byText[text]});
    OrderWeapons(weapons);
    return weapons;
}

void OrderWeapons(std::vector<WeaponVersus>& weapons) {
    std::stable_sort(weapons.begin(), weapons.end(),
                     [](const WeaponVersus& a, const WeaponVersus& b) {
                         if (a.Counts.EitherWay() != b.Counts.EitherWay())
                             return a.Counts.EitherWay() > b.Counts.EitherWay();
                         return kEventWeaponTexts[a.WeaponText] < kEventWeaponTexts[b.WeaponText];
                     });
}

bool StoreKeepsWeapons(const AnalysisStore& store) {
    return store.KillEventCounts.empty();
}

std::vector<WeaponKill> WeaponKillsOf(const AnalysisStore& store) {
    std::vector<WeaponKill> kills;
    kills.reserve(store.KillEvents.size());
    for (std::size_t i = 1; i < store.KillEvents.size(); ++i) {
        const KillEvent& event = store.KillEvents[i];
        kills.push_back({event.Killer, event.Victim, event.WeaponText, store.KillEventCount(i)});
    }
    return kills;
}

VersusTally CountVersus(const AnalysisStore& store, PlayerIndex player, PlayerIndex other,
                        std::span<const std::size_t> killEntriesEnd) {
    VersusTally tally;
    tally.Stretches.resize(killEntriesEnd.size());
    std::size_t stretch = 0;
    for (std::size_t i = 1; i < store.KillEvents.size(); ++i) {
        while (stretch < killEntriesEnd.size() && i >= killEntriesEnd[stretch])
            ++stretch;
        const KillEvent& event = store.KillEvents[i];
        if (!CountsBetween(event.Killer, event.Victim, event.WeaponText, player, other))
            continue;
        const auto kills = static_cast<std::int64_t>(store.KillEventCount(i));
        Add(tally.Total, event.Killer, player, kills);
        if (stretch < tally.Stretches.size())
            Add(tally.Stretches[stretch], event.Killer, player, kills);
    }
    return tally;
}

VersusChance ChanceOf(const std::vector<SkillRating>& fitted, PlayerIndex player,
                      PlayerIndex other) {
    // Player p of the fit is the store's player p + 1 (EncountersOf).
    const auto rated = [&fitted](PlayerIndex p) -> std::optional<SkillRating> {
        if (p < 1 || static_cast<std::size_t>(p) > fitted.size())
            return std::nullopt;
        const SkillRating& rating = fitted[static_cast<std::size_t>(p) - 1];
        if (rating.Encounters <= 0)
            return std::nullopt;
        return rating;
    };
    VersusChance chance{rated(player), rated(other), std::nullopt};
    if (chance.Player && chance.Other)
        chance.PlayerWins = NextEncounterChance(*chance.Player, *chance.Other);
    return chance;
}

} // namespace qla
