// Kills filed by weapon name, as a test script spells them, through the store's own rules.
#pragma once

#include "core/store.h"
#include "core/weapons.h"

#include <string_view>

namespace qla::test {

// The event shows what the analysis records: the weapon's display name, or "unknown" for a
// name that is no weapon. "Teamkill" files a teamkill.
inline void RecordKillByName(AnalysisStore& store, PlayerIndex killer, PlayerIndex victim,
                             std::string_view weapon) {
    const WeaponId id = WeaponIdFromName(weapon);
    if (id == kWeaponTeamkill) {
        store.RecordTeamkill(killer, victim);
        return;
    }
    store.RecordKill(killer, victim, id,
                     id == kWeaponUnknown ? kUnknownWeapon : WeaponDisplayName(id));
}

} // namespace qla::test
