// UTF-8 to Windows-1252.
#include "text_encoding.h"

#include <cstdint>

namespace loggen {

namespace {

// Code points of the bytes 0x80 to 0x9F. The five bytes the code page leaves unassigned map
// to the C1 control of the same number, as browsers decode them, so they round-trip.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char toWindows1252(std::uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == codePoint)
            return static_cast<char>(0x80 + i);
    return '?';
}

// Length of the valid UTF-8 sequence at text[i] and its code point; 0 when invalid.
std::size_t decodeUtf8(std::string_view text, std::size_t i, std::uint32_t* codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    std::uint32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    const std::uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < minimum[length] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    *codePoint = value;
    return length;
}

} // namespace

void appendWindows1252(std::string_view utf8, std::string& out) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Most of a log is ASCII: copy runs of it in one go.
        std::size_t run = i;
        while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80)
            ++run;
        out.append(utf8.data() + i, run - i);
        i = run;
        if (i == utf8.size())
            break;
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::uint32_t codePoint = 0;
        const std::size_t length = decodeUtf8(utf8, i, &codePoint);
        if (length == 0) {
            out.push_back(static_cast<char>(lead));
            ++i;
        } else {
            out.push_back(toWindows1252(codePoint));
            i += length;
        }
    }
}

} // namespace loggen
