// The store's name index against a std::unordered_map fed the same names.
#include "core/name_index.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace qla {
namespace {

TEST(NameIndexTest, FindsOnlyExactNames) {
    std::vector<std::string> names{"", "Fred", "fred", "Fred ", "^1Fred"};
    NameIndex index;
    EXPECT_EQ(index.Find("Fred", NameIndex::Hash("Fred")), 0);
    for (std::int32_t i = 1; i < static_cast<std::int32_t>(names.size()); ++i)
        index.Add(names[i], NameIndex::Hash(names[i]), i);
    for (std::int32_t i = 1; i < static_cast<std::int32_t>(names.size()); ++i)
        EXPECT_EQ(index.Find(names[i], NameIndex::Hash(names[i])), i) << names[i];
    EXPECT_EQ(index.Find("Fre", NameIndex::Hash("Fre")), 0);
    EXPECT_EQ(index.Find("", NameIndex::Hash("")), 0);
    index.Clear();
    EXPECT_EQ(index.size(), 0u);
    EXPECT_EQ(index.Find("Fred", NameIndex::Hash("Fred")), 0);
    index.Add("Fred", NameIndex::Hash("Fred"), 9);
    EXPECT_EQ(index.Find("Fred", NameIndex::Hash("Fred")), 9);
}

// Many names of every length up to 40 bytes, differing in one byte at any position, with bytes
// above 0x7F: every name finds its own record across the table's growth, and none is lost.
TEST(NameIndexTest, AgreesWithAStandardMapThroughGrowth) {
    std::vector<std::string> names{""};
    std::unordered_map<std::string, std::int32_t> reference;
    NameIndex index;
    std::uint64_t state = 7;
    for (int i = 0; i < 30000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        std::string name(1 + (state >> 59) % 40, 'a');
        name[(state >> 20) % name.size()] = static_cast<char>(0x20 + (state >> 30) % 224);
        name[(state >> 40) % name.size()] = static_cast<char>(0x20 + (state >> 45) % 224);
        const std::uint64_t hash = NameIndex::Hash(name);
        const std::int32_t found = index.Find(name, hash);
        const auto known = reference.find(name);
        ASSERT_EQ(found, known == reference.end() ? 0 : known->second) << "draw " << i;
        if (found == 0) {
            names.push_back(name);
            const auto added = static_cast<std::int32_t>(names.size() - 1);
            index.Add(name, hash, added);
            reference.emplace(name, added);
        }
    }
    EXPECT_EQ(index.size(), reference.size());
    for (const auto& [name, i] : reference)
        ASSERT_EQ(index.Find(name, NameIndex::Hash(name)), i) << name;
}

} // namespace
} // namespace qla
