// Trimming, UTF-8 validation and Windows-1252 decoding; the character cuts are inline in text.h.
#include "core/text.h"

#include "core/line_scan.h"

#include <cstring>

namespace qla {

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return text.substr(0, 0);
    return TrimRightSpaces(text.substr(first));
}

std::string_view TrimRightSpaces(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? text.substr(0, 0) : text.substr(0, last + 1);
}

bool IsValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int k = 1; k < length; ++k) {
            if (!text_detail::IsContinuation(p[k]))
                return false;
            cp = (cp << 6) | (p[k] & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF are not valid UTF-8.
        if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

void AppendCodePoint(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Written in place into room for three bytes each: runs of ASCII move a word at a time, every
// other byte takes its form's three bytes, of which the next byte overwrites what is not its own.
// (One append per byte made this most of the work of analysing a Windows-1252 log.)
void AppendWindows1252AsUtf8(std::string& out, std::string_view bytes) {
    using namespace line_scan;
    const std::size_t kept = out.size();
    out.resize(kept + 3 * bytes.size());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    char* const start = out.data() + kept;
    char* to = start;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (i + 8 <= bytes.size()) {
            std::uint64_t word;
            std::memcpy(&word, in + i, 8);
            if ((word & kHighs) == 0) {
                std::memcpy(to, &word, 8);
                to += 8;
                i += 8;
                continue;
            }
        }
        const Utf8Form& form = kUtf8Forms[in[i++]];
        std::memcpy(to, form.bytes, sizeof form.bytes);
        to += form.length;
    }
    out.resize(kept + static_cast<std::size_t>(to - start));
}

} // namespace qla
