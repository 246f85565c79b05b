// Coloured and shortened names of the statistics site.
#include "export/dashboard/site_names.h"

#include "core/colour_runs.h"
#include "export/dashboard/site_html.h"

namespace qla {
namespace {

constexpr bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The bytes of the first `characters` characters of the text.
std::size_t BytesOfFirst(std::string_view text, std::size_t characters) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!IsContinuationByte(text[i]) && seen++ == characters)
            return i;
    return text.size();
}

} // namespace

std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        count += IsContinuationByte(c) ? 0 : 1;
    return count;
}

void AppendColouredText(std::string& out, std::string_view text) {
    int open = kNoColour; // the colour of the open span
    ForEachColourRun(text, [&](const ColourRun& run) {
        // Runs of one colour share a span: "^1Bob^1by" is one element.
        if (run.Colour != open) {
            if (open != kNoColour)
                out += "</span>";
            out += "<span class=\"c";
            out.push_back(static_cast<char>('0' + run.Colour));
            out += "\">";
            open = run.Colour;
        }
        AppendHtmlText(out, run.Text);
    });
    if (open != kNoColour)
        out += "</span>";
}

std::string ShortestColourCodes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    int current = kNoColour;
    ForEachColourRun(text, [&](const ColourRun& run) {
        // A '^' ending the text so far would make a code of the run's first character.
        if (run.Colour != current || (!out.empty() && out.back() == '^')) {
            // The digits 0-7 are the codes of colours 0-7.
            out += '^';
            out.push_back(static_cast<char>('0' + run.Colour));
            current = run.Colour;
        }
        out += run.Text;
    });
    return out;
}

void AppendShownName(std::string& out, std::string_view name) {
    std::size_t visible = 0;
    std::size_t cut = name.size(); // where the shown part ends, codes before it included
    ForEachColourRun(name, [&](const ColourRun& run) {
        if (visible > kShownNameChars)
            return;
        const std::size_t characters = CharacterCount(run.Text);
        if (visible + characters > kShownNameChars)
            cut = static_cast<std::size_t>(run.Text.data() - name.data()) +
                  BytesOfFirst(run.Text, kShownNameChars - visible);
        visible += characters;
    });
    if (visible <= kShownNameChars) {
        AppendColouredText(out, name);
        return;
    }
    out += "<span title=\"";
    AppendHtmlText(out, StripColourCodes(name));
    out += "\">";
    AppendColouredText(out, name.substr(0, cut));
    out += "\xE2\x80\xA6</span>"; // U+2026 horizontal ellipsis
}

} // namespace qla
