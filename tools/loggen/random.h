// Deterministic random numbers for the generator. The standard distributions differ between
// library implementations, so the same --seed would give different logs on different
// machines; this small xoshiro256** with our own range reduction does not.
#pragma once

#include <cstdint>
#include <iterator>

namespace loggen {

// __extension__ keeps -Wpedantic quiet about the compiler's 128-bit integer.
__extension__ typedef unsigned __int128 Uint128;

class Random {
  public:
    explicit Random(std::uint64_t seed) {
        // splitmix64 spreads even a seed of 0 over the whole state.
        for (auto& word : state_) {
            seed += 0x9E3779B97F4A7C15ULL;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t next() {
        const std::uint64_t result = rotl(state_[1] * 5, 7) * 9;
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

    // A number in [0, bound); bound 0 gives 0. The multiply-high reduction is fast and its
    // tiny bias is irrelevant for test data.
    std::uint64_t below(std::uint64_t bound) {
        return static_cast<std::uint64_t>((static_cast<Uint128>(next()) * bound) >> 64);
    }

    // True with the probability percent / 100.
    bool chance(unsigned percent) { return below(100) < percent; }

    template <typename Container> const auto& pick(const Container& items) {
        return items[below(std::size(items))];
    }

  private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::uint64_t state_[4];
};

} // namespace loggen
