// The bytes of a stored digest: unsigned LEB128 numbers and length-prefixed texts, written and
// read back with every length checked against the bytes left.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qla::db {

class Writer {
  public:
    void Number(std::uint64_t value) {
        while (value >= 0x80) {
            bytes_.push_back(static_cast<char>((value & 0x7F) | 0x80));
            value >>= 7;
        }
        bytes_.push_back(static_cast<char>(value));
    }
    void Signed(std::int64_t value) { Number(static_cast<std::uint64_t>(value)); }
    void Text(std::string_view text) {
        Number(text.size());
        bytes_.append(text);
    }
    std::string Take() { return std::move(bytes_); }

  private:
    std::string bytes_;
};

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool Ok() const { return ok_; }
    bool AtEnd() const { return at_ == bytes_.size(); }
    std::uint64_t Number() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (at_ >= bytes_.size())
                break;
            const auto byte = static_cast<unsigned char>(bytes_[at_++]);
            value |= std::uint64_t{byte & 0x7Fu} << shift;
            if ((byte & 0x80) == 0)
                return value;
        }
        ok_ = false;
        return 0;
    }
    std::int64_t Signed() { return static_cast<std::int64_t>(Number()); }
    // A count of entries each at least `leastBytes` long: more than the bytes left is damage.
    std::size_t Count(std::size_t leastBytes) {
        const std::uint64_t count = Number();
        if (count > (bytes_.size() - at_) / std::max<std::size_t>(leastBytes, 1)) {
            ok_ = false;
            return 0;
        }
        return static_cast<std::size_t>(count);
    }
    // The next length-prefixed bytes, not copied.
    std::string_view View() {
        const std::uint64_t size = Number();
        if (!ok_ || size > bytes_.size() - at_) {
            ok_ = false;
            return {};
        }
        const std::string_view view = bytes_.substr(at_, size);
        at_ += size;
        return view;
    }
    std::string Text() {
        const std::uint64_t size = Number();
        if (!ok_ || size > bytes_.size() - at_) {
            ok_ = false;
            return {};
        }
        std::string text(bytes_.substr(at_, size));
        at_ += size;
        return text;
    }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

} // namespace qla::db
