// Storage for the texts a store keeps (chat texts and locations, rename names, other lines), so
// that the store needs nothing of the log once a line has passed. Texts are copied into blocks
// that are never moved or grown: a kept view stays valid until Clear, also when the arena is
// moved or its blocks are taken over by another arena.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace qla {

class TextArena {
  public:
    TextArena() = default;
    TextArena(TextArena&&) noexcept = default;
    TextArena& operator=(TextArena&&) noexcept = default;
    TextArena(const TextArena&) = delete;
    TextArena& operator=(const TextArena&) = delete;

    // A copy of `text` that lives as long as the arena's blocks.
    std::string_view Keep(std::string_view text);

    // Takes over every block of `other` (whose views stay valid), leaving it empty.
    void Adopt(TextArena&& other);

    void Clear();

    // Bytes held in blocks, for tests and measurements.
    std::size_t BytesHeld() const;

  private:
    struct Block {
        std::unique_ptr<char[]> Data;
        std::size_t Size = 0;
    };
    std::vector<Block> blocks_;
    char* free_ = nullptr; // the unused end of the last block
    std::size_t left_ = 0;
};

} // namespace qla
