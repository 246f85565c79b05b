// What full recognition knows of one log language: the kill verbs (the classic ones and the
// newer ones), the possessive in front of a weapon, the death endings with their causes, the
// rename phrase and the prefixes of the game's own messages.
#pragma once

#include "core/phrase_set.h"
#include "core/weapons.h"
#include "obituary_language.h"
#include "parsers/line_kind.h"

#include <span>
#include <string_view>

namespace qla {

// A death without a killer: the line ends with the ending, the player's name stands before it.
struct DeathEnding {
    std::string_view Ending; // begins with the blank after the name
    WeaponId Cause;
};

// A line of the game or the server, never a player's: it begins with the prefix.
struct SystemPrefix {
    std::string_view Prefix; // "[skipnotify]" included
    LineKind Kind;
};

struct FullLanguage {
    PhraseSet KillVerbs; // in the order the verbs are tried
    VerbWeapon KillWeapons[PhraseSet::kCapacity];
    std::string_view Possessive;     // between killer and weapon: "'s " / " - "
    std::string_view TeamkillPhrase; // victim before it, killer after it (and a "^7")
    std::span<const DeathEnding> Deaths;
    std::string_view RenamePhrase; // old name before it, new name after it
    std::span<const SystemPrefix> SystemPrefixes;
};

} // namespace qla
