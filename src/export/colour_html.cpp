// Colour codes turned into the classic pages' font tags.
#include "export/colour_html.h"

#include "core/names.h"
#include "export/html_text.h"

#include <array>

namespace qla {
namespace {

// The opening font tag of a code character, by its colour's place in the core's colour table.
std::string_view FontTagFor(char code) {
    static constexpr std::array<std::string_view, 8> kTags{
        "<font color=#000000>", "<font color=#FF0000>", "<font color=#00FF00>",
        "<font color=#FFFF00>", "<font color=#0000FF>", "<font color=#00FFFF>",
        "<font color=#FF00FF>", "<font color=#FFFFFF>"};
    return kTags[static_cast<std::size_t>(ColourIndexOf(code))];
}

void AppendText(std::string& out, std::string_view text, HtmlEscaping escaping) {
    if (escaping == HtmlEscaping::Escape)
        AppendEscapedHtml(out, text, HtmlQuotes::Kept);
    else
        out += text;
}

} // namespace

std::string ColourToHtml(std::string_view text, HtmlEscaping escaping) {
    std::string out;
    out.reserve(text.size() + 16);
    bool fontOpen = false;
    std::size_t run = 0; // where the text since the last code begins
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '^' || !IsColourCodeChar(text[i + 1]))
            continue;
        AppendText(out, text.substr(run, i - run), escaping);
        if (fontOpen)
            out += "</font>";
        out += FontTagFor(text[i + 1]);
        fontOpen = true;
        run = i + 2;
        ++i;
    }
    AppendText(out, text.substr(run), escaping);
    if (fontOpen)
        out += "</font>";
    return out;
}

} // namespace qla
