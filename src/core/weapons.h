// The weapon table: WeaponId 0 total, 1-14 weapons, 15 unknown, 16-22 suicide causes, 23 teamkill.
#pragma once

#include <string_view>

namespace qla {

using WeaponId = int;

inline constexpr WeaponId kWeaponTotal = 0;
inline constexpr WeaponId kWeaponUnknown = 15;
inline constexpr WeaponId kFirstSuicideCause = 16;
inline constexpr WeaponId kLastSuicideCause = 22;
inline constexpr WeaponId kWeaponTeamkill = 23;
inline constexpr int kKillSlots = 16;
inline constexpr int kDeathSlots = 24;

// Lower-cases the name (ASCII) and compares it with the lookup keys; 15 when none matches.
WeaponId WeaponIdFromName(std::string_view name);

// Display name of codes 0-14 and 16-23; "Unknown" for 15 and anything outside 0-23.
std::string_view WeaponDisplayName(WeaponId id);

} // namespace qla
