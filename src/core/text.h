// Character-aware text helpers. The core holds UTF-8; wherever the analysis counts characters
// (cuts, lengths, positions) it counts Unicode code points through these helpers, never bytes.
// Every cut is clamped to the text: a negative count takes or drops nothing, a count beyond the
// text takes or drops all of it.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace qla {

namespace text_detail {

inline bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The high bit of each byte of `word` that starts a character (any byte but 10xxxxxx).
inline std::uint64_t StartMarks(std::uint64_t word) {
    return ~(word & ~(word << 1)) & 0x8080808080808080ULL;
}

// Number of marks (high bits) in `marks`, summed by one multiplication (no popcount needed).
inline std::int64_t MarkCount(std::uint64_t marks) {
    return static_cast<std::int64_t>(((marks >> 7) * 0x0101010101010101ULL) >> 56);
}

inline std::uint64_t WordAt(std::string_view text, std::size_t at) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    return word;
}

// The marks of the low `bytes` bytes (1 to 8).
inline std::uint64_t LowBytes(std::uint64_t marks, std::size_t bytes) {
    return bytes >= 8 ? marks : marks & ((std::uint64_t{1} << (8 * bytes)) - 1);
}

// Byte index (0 to 7) of mark number `n` (0 = lowest) in `marks`, which holds more than n.
inline std::size_t NthMark(std::uint64_t marks, std::int64_t n) {
    for (; n > 0; --n)
        marks &= marks - 1;
    return static_cast<std::size_t>(std::countr_zero(marks)) / 8;
}

// Byte index of mark number `n` (1 = highest) counted from the top of `marks`.
inline std::size_t NthMarkFromTop(std::uint64_t marks, std::int64_t n) {
    for (; n > 1; --n)
        marks &= ~(std::uint64_t{1} << (63 - std::countl_zero(marks)));
    return static_cast<std::size_t>(63 - std::countl_zero(marks)) / 8;
}

// The starts among the last `rest` bytes of the text (fewer than 8), in the low bytes of a
// word; the text holds 8 bytes or more, so one load that overlaps the bytes before serves.
inline std::uint64_t TailStarts(std::string_view text, std::size_t rest) {
    const std::uint64_t word = WordAt(text, text.size() - 8) >> (8 * (8 - rest));
    return LowBytes(StartMarks(word), rest);
}

// The starts of a text shorter than 8 bytes, read into a word whose missing bytes are cleared.
inline std::uint64_t ShortStarts(std::string_view text) {
    std::uint64_t word = 0;
    if (!text.empty())
        std::memcpy(&word, text.data(), text.size());
    return LowBytes(StartMarks(word), text.size());
}

// Byte offset of the character with the given index; text.size() when beyond the end. Whole
// words are counted at once, and the word that holds the wanted character is searched by its
// marks, not byte by byte.
inline std::size_t OffsetOfChar(std::string_view text, std::int64_t index) {
    if (index <= 0)
        return 0;
    const std::size_t size = text.size();
    if (size < 8) {
        const std::uint64_t starts = ShortStarts(text);
        return MarkCount(starts) > index ? NthMark(starts, index) : size;
    }
    std::int64_t seen = 0;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        const std::uint64_t starts = StartMarks(WordAt(text, i));
        const std::int64_t n = MarkCount(starts);
        if (seen + n > index)
            return i + NthMark(starts, index - seen);
        seen += n;
    }
    if (i < size) {
        const std::uint64_t starts = TailStarts(text, size - i);
        if (seen + MarkCount(starts) > index)
            return i + NthMark(starts, index - seen);
    }
    return size;
}

// Byte offset where the last `count` characters begin; 0 when the text is shorter.
inline std::size_t OffsetOfLastChars(std::string_view text, std::int64_t count) {
    if (count <= 0)
        return text.size();
    if (text.size() < 8) {
        const std::uint64_t starts = ShortStarts(text);
        return MarkCount(starts) >= count ? NthMarkFromTop(starts, count) : 0;
    }
    std::int64_t seen = 0;
    std::size_t i = text.size();
    for (; i >= 8; i -= 8) {
        const std::uint64_t starts = StartMarks(WordAt(text, i - 8));
        const std::int64_t n = MarkCount(starts);
        if (seen + n >= count)
            return i - 8 + NthMarkFromTop(starts, count - seen);
        seen += n;
    }
    if (i > 0) {
        // The first i bytes: the text's first word, of which only they are left.
        const std::uint64_t starts = LowBytes(StartMarks(WordAt(text, 0)), i);
        if (seen + MarkCount(starts) >= count)
            return NthMarkFromTop(starts, count - seen);
    }
    return 0;
}

} // namespace text_detail

// The cuts are inline: the parsers make several per line, mostly a few characters long, and a
// call costs as much as the cut.

// Number of code points in valid UTF-8 (each byte that does not continue a sequence counts).
inline std::int64_t CharCount(std::string_view text) {
    using namespace text_detail;
    if (text.size() < 8)
        return MarkCount(ShortStarts(text));
    std::int64_t chars = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8)
        chars += MarkCount(StartMarks(WordAt(text, i)));
    if (i < text.size())
        chars += MarkCount(TailStarts(text, text.size() - i));
    return chars;
}

inline std::string_view FirstChars(std::string_view text, std::int64_t count) {
    return text.substr(0, text_detail::OffsetOfChar(text, count));
}
inline std::string_view LastChars(std::string_view text, std::int64_t count) {
    return text.substr(text_detail::OffsetOfLastChars(text, count));
}
inline std::string_view DropFirstChars(std::string_view text, std::int64_t count) {
    return text.substr(text_detail::OffsetOfChar(text, count));
}
inline std::string_view DropLastChars(std::string_view text, std::int64_t count) {
    return text.substr(0, text_detail::OffsetOfLastChars(text, count));
}

// Removes the space character (only U+0020) from the ends.
std::string_view TrimSpaces(std::string_view text);
std::string_view TrimRightSpaces(std::string_view text);

bool IsValidUtf8(std::string_view bytes);

// Appends bytes read as Windows-1252, converted to UTF-8. The five bytes that code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+0081 and so on, as browsers decode them.
void AppendWindows1252AsUtf8(std::string& out, std::string_view bytes);

// The code point of one Windows-1252 byte, by the same table.
constexpr char32_t Windows1252CodePoint(unsigned char byte) {
    // Code points of 0x80..0x9F; the unassigned bytes map to the C1 control of the same value.
    constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
}

// Appends one code point as UTF-8.
void AppendCodePoint(std::string& out, char32_t codePoint);

} // namespace qla
