// The byte tests that splitting a log into lines needs, shared by the reader of a whole buffer
// and the streaming reader: finding line ends and non-ASCII bytes a word at a time, checking
// UTF-8 sequences, and the UTF-8 form of every Windows-1252 byte.
#pragma once

#include "text.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qla::line_scan {

inline constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// Marks (in the high bit of each byte) the bytes of a word that need a closer look: CR, LF and
// every byte above 0x7F. Bits above the lowest mark may be false alarms; the lowest is exact.
inline std::uint64_t SpecialBytes(std::uint64_t w) {
    const std::uint64_t cr = w ^ (kOnes * '\r');
    const std::uint64_t lf = w ^ (kOnes * '\n');
    return (w | ((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighs;
}

// Counts the plain ASCII bytes (no CR, no LF) at `p`, looking at 16 or 8 of the `left` bytes
// (`looked` says how many; 0 when fewer than 8 are left). A count below `looked` stops at a
// byte that needs a closer look.
inline std::size_t PlainBytes(const unsigned char* p, std::size_t left, std::size_t& looked) {
#if defined(__SSE2__)
    if (left >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                          _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
        // The top bit of each byte: set for line ends and for every byte above 0x7F.
        const auto special = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(ends, v)));
        looked = 16;
        return special == 0 ? 16 : static_cast<std::size_t>(std::countr_zero(special));
    }
#endif
    if (std::endian::native == std::endian::little && left >= 8) {
        std::uint64_t w;
        std::memcpy(&w, p, sizeof w);
        const std::uint64_t special = SpecialBytes(w);
        looked = 8;
        return special == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(special)) / 8;
    }
    looked = 0;
    return 0;
}

inline bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Length of the valid UTF-8 sequence starting with the non-ASCII byte at `p`, or 0 when it is not
// one. CR and LF are no continuation bytes, so a sequence never runs across a line end.
inline std::size_t Utf8SequenceLength(const unsigned char* p, const unsigned char* end) {
    const unsigned char b = p[0];
    std::size_t len = 0;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        lo = b == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        hi = b == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        lo = b == 0xF0 ? 0x90 : 0x80;
        hi = b == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (static_cast<std::size_t>(end - p) < len || p[1] < lo || p[1] > hi) {
        return 0;
    }
    for (std::size_t i = 2; i < len; ++i) {
        if (!IsContinuation(p[i])) {
            return 0;
        }
    }
    return len;
}

// The UTF-8 form of every Windows-1252 byte, made at compile time.
struct Utf8Form {
    std::uint8_t length = 0;
    char bytes[3]{};
};

constexpr std::array<Utf8Form, 256> MakeUtf8Forms() {
    std::array<Utf8Form, 256> forms{};
    for (unsigned b = 0; b < 256; ++b) {
        const char32_t cp = Windows1252CodePoint(static_cast<unsigned char>(b));
        Utf8Form& f = forms[b];
        if (cp < 0x80) {
            f.length = 1;
            f.bytes[0] = static_cast<char>(cp);
        } else if (cp < 0x800) { // the table holds nothing above U+FFFF
            f.length = 2;
            f.bytes[0] = static_cast<char>(0xC0 | (cp >> 6));
            f.bytes[1] = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            f.length = 3;
            f.bytes[0] = static_cast<char>(0xE0 | (cp >> 12));
            f.bytes[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            f.bytes[2] = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return forms;
}

inline constexpr std::array<Utf8Form, 256> kUtf8Forms = MakeUtf8Forms();

} // namespace qla::line_scan
