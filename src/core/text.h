// Character-aware text helpers. The core holds UTF-8; wherever the analysis counts characters
// (cuts, lengths, positions) it counts Unicode code points through these helpers, never bytes.
// Every cut is clamped to the text: a negative count takes or drops nothing, a count beyond the
// text takes or drops all of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qla {

// Number of code points in valid UTF-8 (each byte that does not continue a sequence counts).
std::int64_t CharCount(std::string_view text);

std::string_view FirstChars(std::string_view text, std::int64_t count);
std::string_view LastChars(std::string_view text, std::int64_t count);
std::string_view DropFirstChars(std::string_view text, std::int64_t count);
std::string_view DropLastChars(std::string_view text, std::int64_t count);

// Removes the space character (only U+0020) from the ends.
std::string_view TrimSpaces(std::string_view text);
std::string_view TrimRightSpaces(std::string_view text);

bool IsValidUtf8(std::string_view bytes);

// Appends bytes read as Windows-1252, converted to UTF-8. The five bytes that code page leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+0081 and so on, as browsers decode them.
void AppendWindows1252AsUtf8(std::string& out, std::string_view bytes);

// The code point of one Windows-1252 byte, by the same table.
char32_t Windows1252CodePoint(unsigned char byte);

// Appends one code point as UTF-8.
void AppendCodePoint(std::string& out, char32_t codePoint);

} // namespace qla
