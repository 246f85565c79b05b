// Keeping a text once: one hash, one slot, and a copy only when the slot holds another text.
#include "core/repeated_texts.h"

#include "core/name_index.h"

namespace qla {

PackedView RepeatedTexts::Keep(std::string_view text, TextArena& arena) {
    if (text.empty())
        return {};
    if (slots_.empty())
        slots_.resize(slotCount_);
    const std::uint64_t hash = NameIndex::Hash(text);
    const auto tag = static_cast<std::uint32_t>(hash >> 32);
    Slot& slot = slots_[hash & (slotCount_ - 1)];
    if (slot.Tag == tag && SameText(slot.Text, text))
        return slot.Text;
    slot = Slot{tag, arena.Keep(text)};
    return slot.Text;
}

} // namespace qla
