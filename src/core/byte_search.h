// Byte searches for the per-line hot path. They look at one or two bytes before calling memcmp,
// which the general library searches do not, and most positions of a line fail on that byte.
// Byte search is exact for UTF-8: a valid sequence can only match at a character boundary.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace qla {

// First occurrence of `needle` in `hay` at or after `from`; npos when there is none.
inline std::size_t FindBytes(std::string_view hay, std::string_view needle, std::size_t from = 0) {
    if (needle.empty()) {
        return from <= hay.size() ? from : std::string_view::npos;
    }
    while (from + needle.size() <= hay.size()) {
        const void* hit = std::memchr(hay.data() + from, static_cast<unsigned char>(needle[0]),
                                      hay.size() - needle.size() + 1 - from);
        if (hit == nullptr) {
            return std::string_view::npos;
        }
        const std::size_t at = static_cast<const char*>(hit) - hay.data();
        // Checking the second byte first spares most calls to memcmp.
        if ((needle.size() == 1 || hay[at + 1] == needle[1]) &&
            std::memcmp(hay.data() + at + 1, needle.data() + 1, needle.size() - 1) == 0) {
            return at;
        }
        from = at + 1;
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
    for (std::size_t at = hay.size() - needle.size() + 1; at-- > 0;) {
        if (hay[at] == needle[0] &&
            std::memcmp(hay.data() + at + 1, needle.data() + 1, needle.size() - 1) == 0) {
            return at;
        }
    }
    return std::string_view::npos;
}

inline bool EndsWithBytes(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() && (ending.empty() || text.back() == ending.back()) &&
           std::memcmp(text.data() + text.size() - ending.size(), ending.data(), ending.size()) ==
               0;
}

} // namespace qla
