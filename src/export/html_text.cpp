// The export layer's HTML escaping.
#include "export/html_text.h"

#include "core/control_chars.h"

namespace qla {
namespace {

// What `c` is written as, or "" when it is written as it is. Most text needs no reference, so
// the runs between references are copied whole.
constexpr std::string_view ReferenceFor(char c, HtmlQuotes quotes) {
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return quotes == HtmlQuotes::Escaped ? "&quot;" : "";
    case '\'':
        return quotes == HtmlQuotes::Escaped ? "&#39;" : "";
    default:
        // NUL, ESC and the like have no place in a page.
        return IsReplacedControl(c) ? "\xEF\xBF\xBD" : ""; // U+FFFD
    }
}

} // namespace

void AppendEscapedHtml(std::string& out, std::string_view text, HtmlQuotes quotes) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view reference = ReferenceFor(text[i], quotes);
        if (reference.empty())
            continue;
        out.append(text.data() + run, i - run);
        out += reference;
        run = i + 1;
    }
    out.append(text.data() + run, text.size() - run);
}

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendEscapedHtml(out, text, HtmlQuotes::Kept);
    return out;
}

void AppendHtmlText(std::string& out, std::string_view text) {
    AppendEscapedHtml(out, text, HtmlQuotes::Escaped);
}

} // namespace qla
