// Byte searches and comparisons for the per-line hot path. They look at one or two bytes before
// comparing the rest, which the general library searches do not, and most positions of a line
// fail on that byte.
// Byte search is exact for UTF-8: a valid sequence can only match at a character boundary.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qla {

// Whether the `n` bytes at `a` and `b` are equal. Inline, in whole words: the texts compared
// per line (names, phrases, short needles) are too short to pay for a library call, and the
// last bytes are compared as a word that overlaps the one before, never byte by byte.
inline bool SameBytes(const char* a, const char* b, std::size_t n) {
    const auto load = [](const char* p, auto word) {
        std::memcpy(&word, p, sizeof word);
        return word;
    };
    if (n >= 8) {
        for (; n > 8; n -= 8, a += 8, b += 8) {
            if (load(a, std::uint64_t{}) != load(b, std::uint64_t{})) {
                return false;
            }
        }
        return load(a + n - 8, std::uint64_t{}) == load(b + n - 8, std::uint64_t{});
    }
    if (n >= 4) {
        return load(a, std::uint32_t{}) == load(b, std::uint32_t{}) &&
               load(a + n - 4, std::uint32_t{}) == load(b + n - 4, std::uint32_t{});
    }
    if (n >= 2) {
        return load(a, std::uint16_t{}) == load(b, std::uint16_t{}) && a[n - 1] == b[n - 1];
    }
    return n == 0 || *a == *b;
}

inline bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && SameBytes(a.data(), b.data(), a.size());
}

inline bool StartsWithBytes(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameBytes(text.data(), prefix.data(), prefix.size());
}

namespace detail {

// Whether `needle` stands at `at`, given that its first byte does.
inline bool RestMatches(std::string_view hay, std::size_t at, std::string_view needle) {
    return (needle.size() == 1 || hay[at + 1] == needle[1]) &&
           SameBytes(hay.data() + at + 1, needle.data() + 1, needle.size() - 1);
}

} // namespace detail

#if defined(__SSE2__)
namespace detail {

// Bit i set where the 16 bytes at `p` hold `first` at i and `second` at i + 1 (17 bytes read).
inline unsigned PairHits(const char* p, __m128i first, __m128i second) {
    const __m128i a = _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), first);
    const __m128i b =
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1)), second);
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(a, b)));
}

// Bit i set where the 16 bytes at `p` hold `byte` at i.
inline unsigned ByteHits(const char* p, __m128i byte) {
    return static_cast<unsigned>(_mm_movemask_epi8(
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), byte)));
}

} // namespace detail
#endif

// First occurrence of the byte `c` in `hay` at or after `from`; npos when there is none. Out of
// line, as is RFindByte: inlined into FindBytes it made that too big to be inlined into the
// per-line searches, which cost more than the call saves.
[[gnu::noinline]] inline std::size_t FindByte(std::string_view hay, char c, std::size_t from = 0) {
#if defined(__SSE2__)
    // Sixteen bytes at a time; the last bytes are read as a window that overlaps the ones
    // already looked at, whose hits are masked off, rather than one by one.
    if (hay.size() >= 16) {
        const __m128i byte = _mm_set1_epi8(c);
        for (; from + 16 <= hay.size(); from += 16) {
            if (const unsigned hits = detail::ByteHits(hay.data() + from, byte); hits != 0)
                return from + static_cast<std::size_t>(__builtin_ctz(hits));
        }
        if (from >= hay.size())
            return std::string_view::npos;
        const std::size_t window = hay.size() - 16;
        const unsigned hits = detail::ByteHits(hay.data() + window, byte) >> (from - window);
        return hits == 0 ? std::string_view::npos
                         : from + static_cast<std::size_t>(__builtin_ctz(hits));
    }
#endif
    for (; from < hay.size(); ++from) {
        if (hay[from] == c)
            return from;
    }
    return std::string_view::npos;
}

// Last occurrence of the byte `c` in `hay`; npos when there is none.
[[gnu::noinline]] inline std::size_t RFindByte(std::string_view hay, char c) {
    std::size_t end = hay.size(); // candidates lie below `end`
#if defined(__SSE2__)
    if (hay.size() >= 16) {
        const __m128i byte = _mm_set1_epi8(c);
        for (; end >= 16; end -= 16) {
            if (const unsigned hits = detail::ByteHits(hay.data() + end - 16, byte); hits != 0)
                return end - 16 + static_cast<std::size_t>(31 - __builtin_clz(hits));
        }
        // The first bytes, as a window from the start with the hits at or past `end` masked off.
        const unsigned hits = detail::ByteHits(hay.data(), byte) & ((1u << end) - 1);
        return hits == 0 ? std::string_view::npos
                         : static_cast<std::size_t>(31 - __builtin_clz(hits));
    }
#endif
    while (end-- > 0) {
        if (hay[end] == c)
            return end;
    }
    return std::string_view::npos;
}

// First occurrence of `needle` in `hay` at or after `from`; npos when there is none.
inline std::size_t FindBytes(std::string_view hay, std::string_view needle, std::size_t from = 0) {
    if (needle.empty()) {
        return from <= hay.size() ? from : std::string_view::npos;
    }
    if (needle.size() > hay.size()) {
        return std::string_view::npos;
    }
    if (needle.size() == 1) {
        return FindByte(hay, needle[0], from);
    }
#if defined(__SSE2__)
    // Sixteen positions at a time: those where the first two bytes of the needle stand. A log
    // line is short, so this beats a library call per candidate byte. The last positions are
    // looked at through a window that overlaps the ones before, with those masked off.
    if (hay.size() >= 17) {
        const __m128i first = _mm_set1_epi8(needle[0]);
        const __m128i second = _mm_set1_epi8(needle[1]);
        const std::size_t last = hay.size() - needle.size(); // the last place it can start
        for (; from <= last; from += 16) {
            unsigned hits;
            if (from + 17 <= hay.size()) {
                hits = detail::PairHits(hay.data() + from, first, second);
            } else {
                const std::size_t window = hay.size() - 17;
                hits = detail::PairHits(hay.data() + window, first, second) >> (from - window);
            }
            for (; hits != 0; hits &= hits - 1) {
                const std::size_t at = from + static_cast<std::size_t>(__builtin_ctz(hits));
                if (at > last) {
                    return std::string_view::npos;
                }
                if (detail::RestMatches(hay, at, needle)) {
                    return at;
                }
            }
        }
        return std::string_view::npos;
    }
#endif
    for (; from + needle.size() <= hay.size(); ++from) {
        if (hay[from] == needle[0] && detail::RestMatches(hay, from, needle)) {
            return from;
        }
    }
    return std::string_view::npos;
}

inline bool ContainsBytes(std::string_view hay, std::string_view needle) {
    return FindBytes(hay, needle) != std::string_view::npos;
}

// Last occurrence of `needle` in `hay`; npos when there is none.
inline std::size_t RFindBytes(std::string_view hay, std::string_view needle) {
    if (needle.size() > hay.size()) {
        return std::string_view::npos;
    }
    if (needle.empty()) {
        return hay.size();
    }
    if (needle.size() == 1) {
        return RFindByte(hay, needle[0]);
    }
    std::size_t end = hay.size() - needle.size() + 1; // candidates lie below `end`
#if defined(__SSE2__)
    // Sixteen candidates at a time from the back, as FindBytes does from the front; reading the
    // second bytes stays inside the text because `end` is below its size.
    const __m128i first = _mm_set1_epi8(needle[0]);
    const __m128i second = _mm_set1_epi8(needle[1]);
    for (; end >= 16; end -= 16) {
        const std::size_t from = end - 16;
        for (unsigned hits = detail::PairHits(hay.data() + from, first, second); hits != 0;) {
            const int bit = 31 - __builtin_clz(hits);
            if (detail::RestMatches(hay, from + static_cast<std::size_t>(bit), needle)) {
                return from + static_cast<std::size_t>(bit);
            }
            hits &= ~(1u << bit);
        }
    }
#endif
    for (std::size_t at = end; at-- > 0;) {
        if (hay[at] == needle[0] && detail::RestMatches(hay, at, needle)) {
            return at;
        }
    }
    return std::string_view::npos;
}

inline bool EndsWithBytes(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && (ending.empty() || text.back() == ending.back()) &&
           SameBytes(text.data() + text.size() - ending.size(), ending.data(), ending.size());
}

} // namespace qla
