// A small open-addressing map from a player index to a table row, for the event tables. It is
// sized once for the rows a table can have, so filling a table costs one allocation instead of
// one node per opponent.
#pragma once

#include "core/store.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace qla {

class RowOfPlayer {
  public:
    // `expected` is how many distinct players the map will probably hold; more still fit.
    explicit RowOfPlayer(std::size_t expected) { Allocate(expected); }

    // The row stored for `player`, or `newRow` stored and returned when there is none yet; the
    // flag says whether it was stored now.
    std::pair<std::size_t, bool> FindOrAdd(PlayerIndex player, std::size_t newRow) {
        std::size_t slot = SlotOf(player);
        while (slots_[slot].used()) {
            if (slots_[slot].player == player)
                return {slots_[slot].row, false};
            slot = (slot + 1) & mask_;
        }
        if ((size_ + 1) * 2 > slots_.size()) {
            Grow();
            slot = SlotOf(player);
            while (slots_[slot].used())
                slot = (slot + 1) & mask_;
        }
        slots_[slot] = {player, static_cast<std::uint32_t>(newRow)};
        ++size_;
        return {newRow, true};
    }

    std::size_t size() const { return size_; }

  private:
    static constexpr std::uint32_t kFree = UINT32_MAX;
    struct Slot {
        PlayerIndex player = 0;
        std::uint32_t row = kFree; // rows stay far below 2^32: a table has a row per player
        bool used() const { return row != kFree; }
    };

    // Fibonacci hashing: consecutive indexes spread over the table.
    std::size_t SlotOf(PlayerIndex player) const {
        const std::uint64_t mixed = static_cast<std::uint32_t>(player) * 0x9E3779B97F4A7C15ULL;
        return static_cast<std::size_t>(mixed >> shift_) & mask_;
    }

    void Allocate(std::size_t expected) {
        std::size_t capacity = 16;
        unsigned bits = 4;
        while (capacity < expected * 2) {
            capacity *= 2;
            ++bits;
        }
        slots_.assign(capacity, Slot{});
        mask_ = capacity - 1;
        shift_ = 64 - bits;
        size_ = 0;
    }

    void Grow() {
        std::vector<Slot> old = std::move(slots_);
        Allocate(old.size());
        for (const Slot& s : old) {
            if (!s.used())
                continue;
            std::size_t slot = SlotOf(s.player);
            while (slots_[slot].used())
                slot = (slot + 1) & mask_;
            slots_[slot] = s;
            ++size_;
        }
    }

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    unsigned shift_ = 0;
    std::size_t size_ = 0;
};

} // namespace qla
