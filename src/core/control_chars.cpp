// Replacing and escaping control characters.
#include "core/control_chars.h"

namespace qla {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD
constexpr char kHex[] = "0123456789abcdef";

} // namespace

std::string ReplaceControlChars(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (IsReplacedControl(c))
            out += kReplacement;
        else
            out += c;
    }
    return out;
}

std::string_view WithoutControlChars(std::string_view text, std::string& scratch) {
    for (char c : text) {
        if (IsReplacedControl(c)) {
            scratch = ReplaceControlChars(text);
            return scratch;
        }
    }
    return text;
}

std::string TerminalSafeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b < 0x20 && b != '\t') || b == 0x7F) {
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else if (b == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            // U+0080..U+009F in UTF-8: some terminals read U+009B as the start of a command.
            const auto low = static_cast<unsigned char>(text[i + 1]);
            out += "\\u00";
            out += kHex[low >> 4];
            out += kHex[low & 0xF];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace qla
