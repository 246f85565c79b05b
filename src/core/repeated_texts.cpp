// 16 Ki slots of 16 bytes: 256 KiB, a few hundred times a log's distinct voice commands and
// notices, and small enough to stay near the core beside the player index.
#include "core/repeated_texts.h"

#include "core/name_index.h"

namespace qla {

namespace {
constexpr std::size_t kSlots = 16 * 1024;
} // namespace

PackedView RepeatedTexts::Keep(std::string_view text, TextArena& arena) {
    if (text.empty())
        return {};
    if (slots_.empty())
        slots_.resize(kSlots);
    const std::uint64_t hash = NameIndex::Hash(text);
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    Slot& slot = slots_[hash & (kSlots - 1)];
    if (slot.Tag == tag && SameText(slot.Text, text))
        return slot.Text;
    slot = Slot{tag, arena.Keep(text)};
    return slot.Text;
}

} // namespace qla
