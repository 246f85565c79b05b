// Chat texts and other lines kept once when they repeat: voice chats are the game's fixed
// commands and servers repeat their notices. A direct-mapped table from a text's hash to the
// copy kept last: one hash and one slot a line, a bounded table that stays in the cache, and a
// text whose slot another text took is simply copied again.
#pragma once

#include "packed_view.h"
#include "text_arena.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qla {

class RepeatedTexts {
  public:
    // `slotCount`, a power of two, bounds the texts remembered at a time. (Not "slots": Qt
    // defines that word away in the files that include its headers first.)
    explicit RepeatedTexts(std::size_t slotCount) : slotCount_(slotCount) {}

    // A copy of `text` in `arena`: the one kept before when the same text still holds its slot.
    PackedView Keep(std::string_view text, TextArena& arena);

    void Clear() { slots_.clear(); }

  private:
    struct Slot {
        std::uint32_t Tag = 0; // high half of the hash: most mismatches end here
        PackedView Text;
    };
    std::size_t slotCount_;
    std::vector<Slot> slots_; // empty until the first text
};

} // namespace qla
