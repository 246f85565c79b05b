// Player names and colour codes. A colour code is "^" followed by one code character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qla {

// True for one character that is a digit or, in lower case, one of . * , - @ ! $ b n q d u w # & |.
// False for the empty text and for anything longer than one character.
bool IsColourCodeChar(std::string_view character);
bool IsColourCodeChar(char c);

// Trims spaces, then removes every trailing colour code. The result is a view into `raw`.
std::string_view NormalizeName(std::string_view raw);

// The colour of a code character: 0 black, 1 red, 2 green, 3 yellow, 4 blue, 5 cyan, 6 magenta,
// 7 white (also for any character that is no colour code).
int ColourIndexOf(char code);

std::string StripColourCodes(std::string_view text);

// The name's identity key: colour codes removed, blanks (space, tab, no-break space) trimmed
// from both ends, case folded (FoldCase). Names with equal keys are one player when players are
// merged; the key of a name without letters or digits left may be empty.
std::string IdentityKey(std::string_view name);

// Whether the name's identity key is one of `sortedKeys` (sorted identity keys, such as a store's
// passing names).
bool KeyListed(const std::vector<std::string>& sortedKeys, std::string_view name);

} // namespace qla
