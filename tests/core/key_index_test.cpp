#include "core/key_index.h"

#include <gtest/gtest.h>

#include <random>
#include <unordered_map>

namespace qla {
namespace {

// Against the standard map, through many growths: keys that differ only in their high bits or
// only in their low ones (pairs of players), zero, and the largest key.
TEST(KeyIndex, FindsWhatItStoredThroughEveryGrowth) {
    KeyIndex index;
    std::unordered_map<std::uint64_t, std::uint32_t> expected;
    std::mt19937_64 random(7);
    std::vector<std::uint64_t> keys{0, UINT64_MAX};
    for (std::uint64_t a = 0; a < 300; ++a)
        for (std::uint64_t b = 0; b < 300; b += 7)
            keys.push_back((a << 33) | (b << 1) | (a & 1));
    for (int n = 0; n < 20000; ++n)
        keys.push_back(random());
    for (const std::uint64_t key : keys) {
        const auto next = static_cast<std::uint32_t>(expected.size());
        const auto [position, added] = index.TryEmplace(key, next);
        const auto [at, isNew] = expected.try_emplace(key, next);
        ASSERT_EQ(added, isNew) << key;
        ASSERT_EQ(position, at->second) << key;
        ASSERT_TRUE(index.Contains(key)) << key;
    }
    EXPECT_EQ(index.Size(), expected.size());
    // Asked again, every key gives its first position and adds nothing.
    for (const std::uint64_t key : keys) {
        const auto [position, added] = index.TryEmplace(key, 0);
        EXPECT_FALSE(added);
        EXPECT_EQ(position, expected.at(key));
    }
    EXPECT_EQ(index.Size(), expected.size());
    // Keys never stored are not found, nor added by asking: neighbours of stored ones too.
    std::size_t absent = 0;
    for (const std::uint64_t key : keys)
        for (const std::uint64_t near : {key + 1, key ^ (std::uint64_t{1} << 40)})
            if (!expected.contains(near)) {
                ++absent;
                EXPECT_FALSE(index.Contains(near)) << near;
            }
    EXPECT_GT(absent, keys.size());
    EXPECT_EQ(index.Size(), expected.size());
}

TEST(KeyIndex, RefusesThePositionItMarksEmptySlotsWith) {
    KeyIndex index(4);
    EXPECT_THROW(index.TryEmplace(1, UINT32_MAX), std::length_error);
    EXPECT_EQ(index.Size(), 0u);
}

} // namespace
} // namespace qla
