// The weapon table: WeaponId 0 total, 1-14 weapons, 15 unknown, 16-22 suicide causes, 23 teamkill,
// 24-31 the causes of death that only full recognition tells apart (self and world deaths).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace qla {

using WeaponId = int;

inline constexpr WeaponId kWeaponTotal = 0;
inline constexpr WeaponId kWeaponUnknown = 15;
inline constexpr WeaponId kFirstSuicideCause = 16;
inline constexpr WeaponId kLastSuicideCause = 22;
inline constexpr WeaponId kWeaponTeamkill = 23;
inline constexpr WeaponId kFirstFullCause = 24;
inline constexpr WeaponId kLastFullCause = 31;
// Slots of a player's Kills (weapons 0-15) and Deaths (0-31, with the suicide causes, teamkills
// and the causes of full recognition).
inline constexpr int kKillSlots = kWeaponUnknown + 1;
inline constexpr int kDeathSlots = kLastFullCause + 1;

// The text a kill event shows when the line named no weapon the parsers know.
inline constexpr std::string_view kUnknownWeapon = "unknown";

// Every text a kill event can show, so an event keeps a one-byte position here instead of a
// view: "" (a kill line whose phrase the parser was not given), the display names of weapons
// 1-14 at their own codes, "unknown" at 15 (kUnknownWeapon) and "Teamkill".
using EventWeapon = std::uint8_t;
// Five to a line reads better than the one a line the formatter would make.
// clang-format off
inline constexpr std::array<std::string_view, 17> kEventWeaponTexts = {
    "",
    "Knife", ".45ACP 1911", "Luger 9mm", "MP40", "Thompson",
    "Sten", "Grenade", "Sniper Rifle", "Venom", "Flamethrower",
    "Crew-served MG42", "Panzerfaust", "Dynamite", "Airstrike",
    kUnknownWeapon, "Teamkill"};
// clang-format on
inline constexpr EventWeapon kEventTeamkill = 16;

// The position of `text` in kEventWeaponTexts; `weapon` names the first place to look, the
// one where the parsers' texts for weapons 1-15 are. A text not in the table is taken as
// "unknown".
EventWeapon EventWeaponOf(WeaponId weapon, std::string_view text);

// Lower-cases the name (ASCII) and compares it with the lookup keys; 15 when none matches.
WeaponId WeaponIdFromName(std::string_view name);

// Display name of codes 0-14 and 16-31; "Unknown" for 15 and anything outside 0-31.
std::string_view WeaponDisplayName(WeaponId id);

} // namespace qla
