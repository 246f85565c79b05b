// The names in obituary lines. The game writes every obituary name cut to 29 characters (and a
// "^7" after it), while chat lines carry the whole name; a cut name is filed under the one known
// player whose name it begins, so a long name is one player, not two.
#pragma once

#include "core/store.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qla {

class ObituaryNames {
  public:
    static constexpr std::int64_t kCutLength = 29;

    // The record for the raw obituary name (blanks and colour codes as written): the one
    // longer known name it begins when it is 29 characters long and exactly one such name
    // exists, otherwise the name itself, found or created as FindOrAddPlayer does.
    PlayerIndex Find(AnalysisStore& store, std::string_view raw);

  private:
    struct Resolved {
        PlayerIndex Player = 0;
        std::int32_t PlayerCount = 0; // the answer holds while no player is added
    };
    std::unordered_map<std::string, Resolved> resolved_;
};

} // namespace qla
