// A view of kept text in 12 bytes rather than std::string_view's 16: the pointer and a 32-bit
// length stored as three 4-byte words, so a list entry holding one needs no 8-byte alignment.
// The store keeps hundreds of thousands of these; texts are never near 4 GiB long.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace qla {

class PackedView {
  public:
    PackedView() = default;
    PackedView(std::string_view text) : size_(static_cast<std::uint32_t>(text.size())) {
        const char* data = text.data();
        std::memcpy(data_, &data, sizeof data);
    }

    operator std::string_view() const { return {data(), size_}; }
    std::string_view View() const { return *this; }
    const char* data() const {
        const char* data = nullptr;
        std::memcpy(&data, data_, sizeof data);
        return data;
    }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    friend bool operator==(const PackedView& a, const PackedView& b) {
        return a.View() == b.View();
    }
    friend bool operator==(const PackedView& a, std::string_view b) { return a.View() == b; }

  private:
    std::uint32_t data_[2] = {0, 0}; // the pointer's bytes, 4-byte aligned
    std::uint32_t size_ = 0;
};

static_assert(sizeof(PackedView) == 12 && alignof(PackedView) == 4);

} // namespace qla
