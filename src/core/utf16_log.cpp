// UTF-16 to UTF-8, one code unit at a time.
#include "core/utf16_log.h"

#include <cstdint>
#include <cstring>

namespace qla {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Writes one code point as UTF-8 at `out`; returns the byte count.
std::size_t PutUtf8(char* out, char32_t cp) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

Utf16Order Utf16OrderOf(std::string_view leadingBytes) {
    if (leadingBytes.size() < 2)
        return Utf16Order::None;
    const auto b0 = static_cast<unsigned char>(leadingBytes[0]);
    const auto b1 = static_cast<unsigned char>(leadingBytes[1]);
    if (b0 == 0xFF && b1 == 0xFE)
        return Utf16Order::LittleEndian;
    if (b0 == 0xFE && b1 == 0xFF)
        return Utf16Order::BigEndian;
    return Utf16Order::None;
}

namespace {

ByteBuffer DecodeFrom(std::string_view bytes, std::size_t start, bool little) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    const auto unitAt = [&](std::size_t i) -> char32_t {
        return little ? static_cast<char32_t>(in[i] | (in[i + 1] << 8))
                      : static_cast<char32_t>((in[i] << 8) | in[i + 1]);
    };

    // Two input bytes give at most three output bytes (a pair of four gives four), and an odd
    // last byte gives the three of U+FFFD.
    const std::size_t units = size > start ? (size - start) / 2 : 0;
    ByteBuffer out = ByteBuffer::Uninitialized(units * 3 + 3);
    std::size_t used = 0;
    std::size_t i = start;
    for (; i + 1 < size; i += 2) {
        const char32_t unit = unitAt(i);
        if (unit < 0x80) {
            out.data()[used++] = static_cast<char>(unit);
            continue;
        }
        char32_t cp = unit;
        if (IsHighSurrogate(unit)) {
            if (i + 3 < size && IsLowSurrogate(unitAt(i + 2))) {
                cp = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
                i += 2;
            } else {
                cp = kReplacement;
            }
        } else if (IsLowSurrogate(unit)) {
            cp = kReplacement;
        }
        used += PutUtf8(out.data() + used, cp);
    }
    if (i < size)
        used += PutUtf8(out.data() + used, kReplacement);
    out.Resize(used);
    return out;
}

} // namespace

ByteBuffer DecodeUtf16(std::string_view bytes, Utf16Order order) {
    return DecodeFrom(bytes, order == Utf16Order::None ? 0 : 2, order != Utf16Order::BigEndian);
}

ByteBuffer DecodeUtf16Units(std::string_view units, Utf16Order order) {
    return DecodeFrom(units, 0, order != Utf16Order::BigEndian);
}

std::size_t CompleteUtf16LinesLength(std::string_view units, Utf16Order order) {
    const auto* in = reinterpret_cast<const unsigned char*>(units.data());
    const bool little = order != Utf16Order::BigEndian;
    const auto unitAt = [&](std::size_t i) {
        return little ? in[i] | (in[i + 1] << 8) : (in[i] << 8) | in[i + 1];
    };
    std::size_t end = units.size() & ~std::size_t{1}; // an odd last byte is half a unit
    if (end >= 2 && unitAt(end - 2) == '\r')
        end -= 2; // its LF may follow
    while (end >= 2 && unitAt(end - 2) != '\n' && unitAt(end - 2) != '\r')
        end -= 2;
    return end;
}

void Utf16PieceDecoder::Unit(char32_t unit, std::string& out) {
    char utf8[4];
    if (highUnit_ != 0) {
        const char32_t high = highUnit_;
        highUnit_ = 0;
        if (IsLowSurrogate(unit)) {
            const char32_t cp = 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00);
            out.append(utf8, PutUtf8(utf8, cp));
            return;
        }
        out.append(utf8, PutUtf8(utf8, kReplacement));
    }
    if (IsHighSurrogate(unit)) {
        highUnit_ = unit;
        return;
    }
    out.append(utf8, PutUtf8(utf8, IsLowSurrogate(unit) ? kReplacement : unit));
}

void Utf16PieceDecoder::Decode(std::string_view bytes, std::string& out) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t i = 0;
    if (oddByte_ >= 0 && !bytes.empty()) {
        const auto first = static_cast<unsigned>(oddByte_);
        oddByte_ = -1;
        Unit(little_ ? (first | (in[0] << 8)) : ((first << 8) | in[0]), out);
        i = 1;
    }
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t unit = little_ ? static_cast<char32_t>(in[i] | (in[i + 1] << 8))
                                      : static_cast<char32_t>((in[i] << 8) | in[i + 1]);
        if (unit < 0x80 && highUnit_ == 0)
            out.push_back(static_cast<char>(unit));
        else
            Unit(unit, out);
    }
    if (i < bytes.size())
        oddByte_ = in[i];
}

void Utf16PieceDecoder::Finish(std::string& out) {
    char utf8[4];
    if (highUnit_ != 0) {
        highUnit_ = 0;
        out.append(utf8, PutUtf8(utf8, kReplacement));
    }
    if (oddByte_ >= 0) {
        oddByte_ = -1;
        out.append(utf8, PutUtf8(utf8, kReplacement));
    }
}

} // namespace qla
