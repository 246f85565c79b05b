// Player names and colour codes: the colour table, normalising and stripping.
#include "core/names.h"

#include "core/case_fold.h"

#include <algorithm>

namespace qla {

int ColourIndexOf(char code) {
    switch (code >= 'A' && code <= 'Z' ? static_cast<char>(code - 'A' + 'a') : code) {
    case '0':
    case '8':
    case '@':
        return 0; // black
    case '1':
    case '9':
    case 'q':
        return 1; // red
    case '2':
    case '*':
    case 'b':
        return 2; // green
    case '3':
    case '#':
        return 3; // yellow
    case '4':
    case ',':
    case 'd':
    case '|':
        return 4; // blue
    case '5':
    case '-':
    case 'u':
        return 5; // cyan
    case '6':
    case '.':
    case '&':
    case 'n':
        return 6; // magenta
    default:      // '7', 'w', '!', '$'
        return 7; // white
    }
}

namespace {

char ToLowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsColourCode(std::string_view text, std::size_t i) {
    return text[i] == '^' && i + 1 < text.size() && IsColourCodeChar(text[i + 1]);
}

} // namespace

bool IsColourCodeChar(char c) {
    if (c >= '0' && c <= '9')
        return true;
    switch (ToLowerAscii(c)) {
    case '.':
    case '*':
    case ',':
    case '-':
    case '@':
    case '!':
    case '$':
    case 'b':
    case 'n':
    case 'q':
    case 'd':
    case 'u':
    case 'w':
    case '#':
    case '&':
    case '|':
        return true;
    default:
        return false;
    }
}

bool IsColourCodeChar(std::string_view character) {
    return character.size() == 1 && IsColourCodeChar(character[0]);
}

std::string_view NormalizeName(std::string_view raw) {
    std::string_view name = raw;
    const auto first = name.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return raw.substr(0, 0);
    name = name.substr(first, name.find_last_not_of(' ') - first + 1);
    // Code characters are ASCII, so byte tests here are character tests.
    while (name.size() > 1 && name[name.size() - 2] == '^' && IsColourCodeChar(name.back()))
        name.remove_suffix(2);
    return name;
}

std::string StripColourCodes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (StartsColourCode(text, i))
            ++i;
        else
            out.push_back(text[i]);
    }
    return out;
}

namespace {

// The length of the blank the text begins with (space, tab, U+00A0), 0 when none.
std::size_t LeadingBlank(std::string_view text) {
    if (!text.empty() && (text[0] == ' ' || text[0] == '\t'))
        return 1;
    return text.starts_with("\xC2\xA0") ? 2 : 0;
}

std::size_t TrailingBlank(std::string_view text) {
    if (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        return 1;
    return text.ends_with("\xC2\xA0") ? 2 : 0;
}

} // namespace

std::string IdentityKey(std::string_view name) {
    const std::string plain = StripColourCodes(name);
    std::string_view trimmed = plain;
    while (const std::size_t blank = LeadingBlank(trimmed))
        trimmed.remove_prefix(blank);
    while (const std::size_t blank = TrailingBlank(trimmed))
        trimmed.remove_suffix(blank);
    return FoldCase(trimmed);
}

bool KeyListed(const std::vector<std::string>& sortedKeys, std::string_view name) {
    return !sortedKeys.empty() &&
           std::binary_search(sortedKeys.begin(), sortedKeys.end(), IdentityKey(name));
}

} // namespace qla
