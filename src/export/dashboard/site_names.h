// Names and coloured text on the statistics site, as a reader sees them: a row of colour codes
// is one colour, and a very long name is shortened where it stands among others.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qla {

// Names with more visible characters than this are shortened in lists and tables.
inline constexpr std::size_t kShownNameChars = 40;

// Text with each coloured run in a span of its colour class ("c0".."c7"): a row of codes counts
// as its last code, codes with no text after them add nothing, so no span is empty. Text without
// codes is its text alone: the pages hold many names.
void AppendColouredText(std::string& out, std::string_view text);

// A player's name where it stands among others. One of more than kShownNameChars visible
// characters shows its first kShownNameChars and an ellipsis, in a span whose title holds the
// whole visible name; his own page shows it whole (AppendColouredText).
void AppendShownName(std::string& out, std::string_view name);

// The text as the pages show it, in fewer bytes: each row of codes becomes one digit code of its
// colour ("^1^2^3" is "^3"), and codes with no text after them go, as do codes that repeat the
// colour already set. For the rows files, whose script colours names as the pages do.
std::string ShortestColourCodes(std::string_view text);

// Characters of UTF-8 text, counted by their first bytes.
std::size_t CharacterCount(std::string_view text);

} // namespace qla
