// The constant weapon table shared by both log languages.
#include "core/weapons.h"

#include "core/byte_search.h"

#include <array>
#include <string>

namespace qla {
namespace {

struct WeaponEntry {
    std::string_view key; // lower case; empty for code 15, which no name maps to
    std::string_view displayName;
};

constexpr std::array<WeaponEntry, kDeathSlots> kWeapons = {{
    {"total", "Total"},
    {"knife", "Knife"},
    {".45acp 1911", ".45ACP 1911"},
    {"luger 9mm", "Luger 9mm"},
    {"mp40", "MP40"},
    {"thompson", "Thompson"},
    {"sten", "Sten"},
    {"grenade", "Grenade"},
    {"sniper rifle", "Sniper Rifle"},
    {"venom", "Venom"},
    {"flamethrower", "Flamethrower"},
    {"crew-served mg42", "Crew-served MG42"},
    {"panzerfaust", "Panzerfaust"},
    {"dynamite", "Dynamite"},
    {"airstrike", "Airstrike"},
    {"", "Unknown"},
    {"killed himself", "Killed himself"},
    {"dove on his own grenade", "Dove on his own grenade"},
    {"obliterated himself", "Obliterated himself"},
    {"vaporized himself", "Vaporized himself"},
    {"died", "Died"},
    {"drowned", "Drowned"},
    {"fell to his death", "Fell to his death"},
    {"teamkill", "Teamkill"},
    // Classic recognition never counts these: their lines are other lines there.
    {"dynamited himself", "Dynamited himself"},
    {"was crushed", "Was crushed"},
    {"was killed", "Was killed"},
    {"riddled by machinegun fire", "Riddled by machinegun fire"},
    {"killed herself", "Killed herself"},
    {"dove on her own grenade", "Dove on her own grenade"},
    {"fired-for-effect on himself", "Fired-for-effect on himself"},
    {"slit his own throat", "Slit his own throat"},
}};

bool EqualsIgnoringAsciiCase(std::string_view name, std::string_view lowerKey) {
    if (name.size() != lowerKey.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerKey[i])
            return false;
    }
    return true;
}

} // namespace

WeaponId WeaponIdFromName(std::string_view name) {
    for (WeaponId id = 0; id < static_cast<WeaponId>(kWeapons.size()); ++id) {
        if (id != kWeaponUnknown && EqualsIgnoringAsciiCase(name, kWeapons[id].key))
            return id;
    }
    return kWeaponUnknown;
}

EventWeapon EventWeaponOf(WeaponId weapon, std::string_view text) {
    if (weapon > 0 && weapon <= kWeaponUnknown && SameText(kEventWeaponTexts[weapon], text))
        return static_cast<EventWeapon>(weapon);
    for (std::size_t code = 0; code < kEventWeaponTexts.size(); ++code) {
        if (SameText(kEventWeaponTexts[code], text))
            return static_cast<EventWeapon>(code);
    }
    return kWeaponUnknown;
}

std::string_view WeaponDisplayName(WeaponId id) {
    if (id < 0 || id >= static_cast<WeaponId>(kWeapons.size()))
        return "Unknown";
    return kWeapons[id].displayName;
}

} // namespace qla
