// Texts in blocks of 64 KiB: large enough that a block is rarely started, small enough that a
// store holding few texts stays small. A text longer than a block gets a block of its own.
#include "text_arena.h"

#include <cstring>

namespace qla {

namespace {
constexpr std::size_t kBlockSize = 64 * 1024;
} // namespace

std::string_view TextArena::Keep(std::string_view text) {
    if (text.empty())
        return {};
    if (text.size() > left_) {
        const std::size_t size = std::max(kBlockSize, text.size());
        // Uninitialised: every byte handed out is written first.
        blocks_.push_back(Block{std::unique_ptr<char[]>(new char[size]), size});
        free_ = blocks_.back().Data.get();
        left_ = size;
    }
    char* const at = free_;
    std::memcpy(at, text.data(), text.size());
    free_ += text.size();
    left_ -= text.size();
    return {at, text.size()};
}

void TextArena::Adopt(TextArena&& other) {
    // The adopted blocks go before the last one, so the free end of this arena stays usable.
    const auto insertAt = blocks_.empty() ? blocks_.end() : blocks_.end() - 1;
    blocks_.insert(insertAt, std::make_move_iterator(other.blocks_.begin()),
                   std::make_move_iterator(other.blocks_.end()));
    other.blocks_.clear();
    other.free_ = nullptr;
    other.left_ = 0;
}

void TextArena::Clear() {
    blocks_.clear();
    free_ = nullptr;
    left_ = 0;
}

std::size_t TextArena::BytesHeld() const {
    std::size_t bytes = 0;
    for (const Block& block : blocks_)
        bytes += block.Size;
    return bytes;
}

} // namespace qla
