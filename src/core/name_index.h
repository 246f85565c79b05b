// The store's index from a player's exact name to the player's record: an open-addressing
// table of (hash tag, record index) pairs over a private copy of the names packed end to end.
// A look-up reads only these small arrays, never the player records, which on a log with
// thousands of players lie far apart in memory.
#pragma once

#include "byte_search.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

class NameIndex {
  public:
    // Hash of a name, as Find and Add expect it.
    static std::uint64_t Hash(std::string_view name);

    // The record index stored for `name`, or 0 when there is none.
    std::int32_t Find(std::string_view name, std::uint64_t hash) const {
        if (slots_.empty())
            return 0;
        const auto tag = static_cast<std::uint32_t>(hash >> 32);
        for (std::size_t slot = hash & mask_;; slot = (slot + 1) & mask_) {
            const Slot& s = slots_[slot];
            if (s.entry == 0)
                return 0;
            if (s.tag == tag && SameText(NameAt(s.entry), name))
                return indexes_[s.entry - 1];
        }
    }

    // Files record `index` (1 or more) under `name`; the name must not be in the index yet.
    void Add(std::string_view name, std::uint64_t hash, std::int32_t index);
    // Files record `index` under `name` instead of the record filed so far; the name must be in
    // the index (a later holder of a name).
    void Repoint(std::string_view name, std::uint64_t hash, std::int32_t index);

    void Clear();
    std::size_t size() const { return entries_.size(); }

  private:
    // Eight bytes a slot and eight an entry keep the index small enough to stay in the cache
    // beside the records on a log with thousands of players.
    struct Slot {
        std::uint32_t tag = 0;   // high half of the hash: most mismatches end here
        std::uint32_t entry = 0; // 1 + position in entries_; 0: free
    };
    struct Entry {
        std::uint32_t offset; // in names_
        std::uint32_t length;
    };

    std::string_view NameAt(std::uint32_t entry) const {
        const Entry& e = entries_[entry - 1];
        return std::string_view(names_.data() + e.offset, e.length);
    }
    void Place(std::uint32_t tag, std::uint32_t entry, std::uint64_t hash);
    void Grow();

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
    std::vector<Entry> entries_;        // in order of addition
    std::vector<std::int32_t> indexes_; // the record index of each entry
    std::string names_;
};

namespace name_hash {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

inline std::uint64_t Mix(std::uint64_t h) {
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ULL;
    h ^= h >> 32;
    return h;
}

inline std::uint64_t Load64(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

inline std::uint64_t Load32(const char* p) {
    std::uint32_t word;
    std::memcpy(&word, p, 4);
    return word;
}

inline std::uint64_t Round(std::uint64_t h, std::uint64_t word) {
    h = (h ^ word) * kMultiplier;
    return h ^ (h >> 29);
}

} // namespace name_hash

// Eight bytes at a time; names are short, so the loop runs once or twice per name. The last
// bytes are read as whole words that overlap the ones before (the length is in the hash), never
// byte by byte: a word assembled from single bytes would wait for each store to land.
inline std::uint64_t NameIndex::Hash(std::string_view name) {
    using namespace name_hash;
    const std::size_t size = name.size();
    const char* p = name.data();
    std::uint64_t h = size * kMultiplier;
    if (size >= 8) {
        const char* const last = p + size - 8;
        for (; p < last; p += 8)
            h = Round(h, Load64(p));
        h = Round(h, Load64(last));
    } else if (size >= 4) {
        h = Round(h, Load32(p) | (Load32(p + size - 4) << 32));
    } else if (size > 0) {
        const auto first = static_cast<unsigned char>(p[0]);
        const auto middle = static_cast<unsigned char>(p[size / 2]);
        const auto end = static_cast<unsigned char>(p[size - 1]);
        h = Round(h, first | (std::uint64_t{middle} << 8) | (std::uint64_t{end} << 16));
    }
    return Mix(h);
}

} // namespace qla
