// Character-aware text helpers. The core holds UTF-8; wherever the analysis counts characters
// (cuts, lengths, positions) it counts Unicode code points through these helpers, never bytes.
// Every cut is clamped to the text: a negative count takes or drops nothing, a count beyond the
// text takes or drops all of it.
#pragma once

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

// Number of continuation bytes among the eight bytes of `word`: those with the top bit set and
// the next bit clear. The sum is taken by one multiplication (no popcount instruction needed).
inline std::int64_t Continuations(std::uint64_t word) {
    const std::uint64_t marks = (word & ~(word << 1) & 0x8080808080808080ULL) >> 7;
    return static_cast<std::int64_t>((marks * 0x0101010101010101ULL) >> 56);
}

inline std::uint64_t WordAt(std::string_view text, std::size_t at) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + at, 8);
    return word;
}

// Byte offset of the character with the given index; text.size() when beyond the end.
inline std::size_t OffsetOfChar(std::string_view text, std::int64_t index) {
    if (index <= 0)
        return 0;
    std::int64_t seen = 0;
    std::size_t i = 0;
    // Whole words whose characters all come before the wanted one are counted at once.
    for (; i + 8 <= text.size(); i += 8) {
        const std::int64_t starts = 8 - Continuations(WordAt(text, i));
        if (seen + starts > index)
            break;
        seen += starts;
    }
    for (; i < text.size(); ++i) {
        if (!IsContinuation(static_cast<unsigned char>(text[i]))) {
            if (seen == index)
                return i;
            ++seen;
        }
    }
    return text.size();
}

// Byte offset where the last `count` characters begin; 0 when the text is shorter.
inline std::size_t OffsetOfLastChars(std::string_view text, std::int64_t count) {
    if (count <= 0)
        return text.size();
    std::int64_t seen = 0;
    std::size_t i = text.size();
    for (; i >= 8; i -= 8) {
        const std::int64_t starts = 8 - Continuations(WordAt(text, i - 8));
        if (seen + starts >= count)
            break;
        seen += starts;
    }
    for (; i > 0; --i) {
        if (!IsContinuation(static_cast<unsigned char>(text[i - 1]))) {
            if (++seen == count)
                return i - 1;
        }
    }
    return 0;
}

} // namespace text_detail

// The cuts are inline: the parsers make several per line, mostly a few characters long, and a
// call costs as much as the cut.

// Number of code points in valid UTF-8 (each byte that does not continue a sequence counts).
inline std::int64_t CharCount(std::string_view text) {
    std::int64_t continuations = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8)
        continuations += text_detail::Continuations(text_detail::WordAt(text, i));
    for (; i < text.size(); ++i)
        continuations += text_detail::IsContinuation(static_cast<unsigned char>(text[i])) ? 1 : 0;
    return static_cast<std::int64_t>(text.size()) - continuations;
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

// Case folding for comparing names regardless of case (case_fold.cpp says which letters fold):
// "Ärger", "ÄRGER" and "ärger" fold alike, as do "Ωmega"/"ωMEGA" and "Иван"/"ИВАН". Bytes that
// are not UTF-8 are kept as they are.
std::string FoldCase(std::string_view text);
// The simple case folding of one code point (without the "ß" to "ss" rule of FoldCase).
char32_t FoldCodePoint(char32_t codePoint);

} // namespace qla
