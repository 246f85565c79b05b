// Control characters from a log (ESC, NUL, BEL, ...) must not reach a terminal or a page as
// they are: a terminal would obey them, and a page would hold bytes no text format allows.
#pragma once

#include <string>
#include <string_view>

namespace qla {

// True for the C0 controls other than tab: what the exports replace.
constexpr bool IsReplacedControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 && c != '\t';
}

// `text` with every C0 control other than tab replaced by U+FFFD, as the exports write it.
std::string ReplaceControlChars(std::string_view text);

// The same without a copy when there is nothing to replace: `text` itself, or `scratch` holding
// the replaced text.
std::string_view WithoutControlChars(std::string_view text, std::string& scratch);

// `text` as it may be written to a terminal: C0 controls other than tab and DEL become "\x1b"
// and the like, the C1 controls U+0080 to U+009F become "\u009b" and the like. Other bytes,
// backslashes included, are kept.
std::string TerminalSafeText(std::string_view text);

} // namespace qla
