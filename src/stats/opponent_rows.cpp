// Counting and ordering the event tables' rows as numbers.
#include "stats/opponent_rows.h"

#include "core/names.h"
#include "stats/row_of_player.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace qla {

bool IsEventSection(std::size_t section) {
    return section == 0 || section == 1 || section == 3 || section == 4;
}

std::vector<OpponentRow> CountOpponents(const AnalysisStore& store, const KillEventIndex& index,
                                        std::size_t section, PlayerIndex player) {
    // Kills and teamkills read the player's events as killer, deaths and teamdeaths as victim.
    const bool asKiller = section == 0 || section == 3;
    const PlayerEvents events = asKiller ? index.KillerEvents(player) : index.VictimEvents(player);
    const bool wanted = section == 3 || section == 4;
    // The events the table counts; an index built from another store may name events past
    // this store's.
    const auto counts = [&](std::int32_t position) {
        return position >= 1 && static_cast<std::size_t>(position) < store.KillEvents.size() &&
               (store.KillEvents[static_cast<std::size_t>(position)].WeaponText ==
                kEventTeamkill) == wanted;
    };
    const auto counted = static_cast<std::size_t>(std::ranges::count_if(events.Positions, counts));
    std::vector<OpponentRow> found;
    if (counted == 0 || !IsEventSection(section))
        return found;
    // Names are unique per record, so comparing player indexes is comparing exact names. A
    // table has at most one row per stored player, however many events it counts.
    RowOfPlayer rowOf(std::min(counted, store.Players.size()));
    for (const std::int32_t position : events.Positions) {
        if (!counts(position))
            continue;
        const KillEvent& event = store.KillEvents[static_cast<std::size_t>(position)];
        const PlayerIndex opponent = asKiller ? event.Victim : event.Killer;
        const auto [row, isNew] = rowOf.FindOrAdd(opponent, found.size());
        const std::uint32_t kills = store.KillEventCount(static_cast<std::size_t>(position));
        if (isNew)
            found.push_back({opponent, kills, position});
        else
            found[row].Count += kills;
    }
    return found;
}

PlayerEventRows CountPlayerEvents(const AnalysisStore& store, const KillEventIndex& index,
                                  PlayerIndex player) {
    PlayerEventRows counted;
    counted.Player = player;
    for (const std::size_t section : {0, 1, 3, 4})
        counted.Sections[section] = CountOpponents(store, index, section, player);
    return counted;
}

std::vector<std::string> NameSortKeys(const AnalysisStore& store) {
    std::vector<std::string> keys(store.Players.size());
    for (const PlayerIndex p : store.PlayerIndexes())
        keys[p] = StripColourCodes(store.Players[p].Name);
    return keys;
}

void OrderOpponents(std::vector<OpponentRow>& rows, PlayerDetailOrder order,
                    const std::vector<std::string>& nameSortKeys) {
    if (rows.size() < 2)
        return;
    const auto name = [&](const OpponentRow& row) {
        // An opponent without a record has the empty name, as in the built table.
        return row.Opponent >= 0 && static_cast<std::size_t>(row.Opponent) < nameSortKeys.size()
                   ? std::string_view(nameSortKeys[row.Opponent])
                   : std::string_view();
    };
    // std::string_view compares bytes as unsigned char, as SortRows compares its texts.
    if (order == PlayerDetailOrder::ItemNames)
        std::stable_sort(rows.begin(), rows.end(), [&](const OpponentRow& a, const OpponentRow& b) {
            return name(a) < name(b);
        });
    else if (order == PlayerDetailOrder::Numbers)
        std::stable_sort(rows.begin(), rows.end(), [](const OpponentRow& a, const OpponentRow& b) {
            return a.Count < b.Count;
        });
    else if (order == PlayerDetailOrder::Appearance)
        std::stable_sort(rows.begin(), rows.end(), [](const OpponentRow& a, const OpponentRow& b) {
            return a.FirstEvent < b.FirstEvent;
        });
}

std::vector<std::uint32_t> NameSortPlaces(const std::vector<std::string>& nameSortKeys) {
    std::vector<std::size_t> order(nameSortKeys.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::string_view(nameSortKeys[a]) < std::string_view(nameSortKeys[b]);
    });
    std::vector<std::uint32_t> places(nameSortKeys.size(), 0);
    std::uint32_t place = 0;
    std::string_view previous; // the empty key keeps place 0
    for (const std::size_t p : order) {
        const std::string_view key = nameSortKeys[p];
        if (key != previous) {
            ++place;
            previous = key;
        }
        places[p] = place;
    }
    return places;
}

void OrderOpponentsByPlace(std::vector<OpponentRow>& rows, PlayerDetailOrder order,
                           const std::vector<std::uint32_t>& namePlaces) {
    if (order != PlayerDetailOrder::ItemNames) {
        OrderOpponents(rows, order, {});
        return;
    }
    if (rows.size() < 2)
        return;
    const auto place = [&](const OpponentRow& row) {
        return row.Opponent >= 0 && static_cast<std::size_t>(row.Opponent) < namePlaces.size()
                   ? namePlaces[row.Opponent]
                   : 0u;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const OpponentRow& a, const OpponentRow& b) {
        return place(a) < place(b);
    });
}

} // namespace qla
