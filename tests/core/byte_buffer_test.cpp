// The log buffer keeps its bytes when it grows or shrinks, and moves without copying.
#include "core/byte_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <utility>

namespace qla {
namespace {

void Fill(ByteBuffer& buffer, std::size_t from) {
    for (std::size_t i = from; i < buffer.size(); ++i)
        buffer.data()[i] = static_cast<char>(i * 131 % 251);
}

bool Holds(const ByteBuffer& buffer, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (buffer.data()[i] != static_cast<char>(i * 131 % 251))
            return false;
    return true;
}

TEST(ByteBufferTest, KeepsItsBytesThroughGrowthAndShrinking) {
    ByteBuffer buffer = ByteBuffer::Uninitialized(0);
    EXPECT_EQ(buffer.size(), 0u);
    std::size_t filled = 0;
    // Small sizes, page edges and sizes large enough for 2 MB pages.
    for (const std::size_t size :
         {std::size_t{1}, std::size_t{4095}, std::size_t{4096}, std::size_t{4097},
          std::size_t{100000}, std::size_t{5} << 20, std::size_t{9} << 20, std::size_t{3000},
          std::size_t{12} << 20}) {
        const bool grows = size > buffer.size();
        buffer.Resize(size);
        ASSERT_EQ(buffer.size(), size);
        filled = std::min(filled, size);
        ASSERT_TRUE(Holds(buffer, filled)) << "after resizing to " << size;
        if (grows) {
            Fill(buffer, filled);
            filled = size;
        }
    }
}

TEST(ByteBufferTest, MovesItsBlock) {
    ByteBuffer a = ByteBuffer::Uninitialized(8 << 20);
    Fill(a, 0);
    const char* block = a.data();
    ByteBuffer b = std::move(a);
    EXPECT_EQ(b.data(), block);
    EXPECT_EQ(b.size(), std::size_t{8} << 20);
    EXPECT_TRUE(Holds(b, b.size()));
    ByteBuffer c = ByteBuffer::Uninitialized(10);
    c = std::move(b);
    EXPECT_EQ(c.data(), block);
    EXPECT_TRUE(Holds(c, c.size()));
}

} // namespace
} // namespace qla
