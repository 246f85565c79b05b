// The orders a table's rows can be sorted in, one enum per kind of table. Each value is the
// option's index in the export page's "Order by" list, which qla's --order also accepts.
#pragma once

namespace qla {

// The standard player table: by a column's cell, or in the players' order of appearance.
enum class StandardOrder { PlayerName, Kills, Deaths, Ratio, Teamkills, Appearance };
// A player's detail tables: by the item's name, by its number, or by its first appearance (the
// first event with that opponent, or the weapon's code).
enum class PlayerDetailOrder { ItemNames, Numbers, Appearance };
// The weapon table: by a column's cell, or in the weapons' fixed order.
enum class WeaponOrder { WeaponName, Kills, Share, MostKillsBy, MostDeathsBy, StandardOrder };

} // namespace qla
