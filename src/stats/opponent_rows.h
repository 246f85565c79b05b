// The rows of a player's four event tables (kills, deaths, teamkills, teamdeaths) as numbers:
// opponent, count and first event, counted and ordered exactly as BuildKillsTable and its
// siblings count and SortRows orders them, without building text cells. Writers of many pages
// (Export All Data) use them with names prepared once per run.
#pragma once

#include "stats/detail_tables.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qla {

struct OpponentRow {
    PlayerIndex Opponent = 0;
    std::int64_t Count = 0;
    std::int32_t FirstEvent = 0; // position in KillEvents of the event that created the row
};

// Section 0 kills, 1 deaths, 3 teamkills, 4 teamdeaths (the numbering of the detail pages).
bool IsEventSection(std::size_t section);

// The rows of one event section in order of first appearance, as the table builders make them.
std::vector<OpponentRow> CountOpponents(const AnalysisStore& store, const KillEventIndex& index,
                                        std::size_t section, PlayerIndex player);

// The four event sections of one player counted once, for the pages that show them in several
// orders. Sections 2 and 5 stay empty.
struct PlayerEventRows {
    PlayerIndex Player = 0;
    std::array<std::vector<OpponentRow>, 6> Sections;
};
PlayerEventRows CountPlayerEvents(const AnalysisStore& store, const KillEventIndex& index,
                                  PlayerIndex player);

// Each stored player's name without colour codes: the text a name key is compared by.
std::vector<std::string> NameSortKeys(const AnalysisStore& store);

// Orders rows as SortRows orders the table built from them: item names by the name's sort
// key, numbers by count, appearance by first event; a value outside the enum leaves them; ties keep
// their order.
void OrderOpponents(std::vector<OpponentRow>& rows, PlayerDetailOrder order,
                    const std::vector<std::string>& nameSortKeys);

// Each player's place in the order of the name sort keys: equal keys share a place, and the
// empty key (also that of an index without a record) has place 0. Ordering by place is ordering
// by key, with one comparison of numbers instead of texts.
std::vector<std::uint32_t> NameSortPlaces(const std::vector<std::string>& nameSortKeys);

// OrderOpponents with the places of NameSortPlaces for item names.
void OrderOpponentsByPlace(std::vector<OpponentRow>& rows, PlayerDetailOrder order,
                           const std::vector<std::uint32_t>& namePlaces);

} // namespace qla
