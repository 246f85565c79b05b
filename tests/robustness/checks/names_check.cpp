// The name and colour-code routines checked against each other and against their rules.
#include "fuzz_checks.h"

#include "core/control_chars.h"
#include "core/names.h"
#include "core/text.h"
#include "export/colour_html.h"
#include "export/html_frame.h"
#include "export/xml_export.h"
#include "markup_check.h"
#include "xml_check.h"

namespace qla::robust {

namespace {

// The code characters as the rule lists them, independent of the routine.
bool IsCodeCharByRule(char c) {
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return (c >= '0' && c <= '9') ||
           std::string_view(".*,-@!$bnqduw#&|").find(lower) != std::string_view::npos;
}

bool EndsWithColourCode(std::string_view text) {
    return text.size() >= 2 && text[text.size() - 2] == '^' && IsCodeCharByRule(text.back());
}

std::string NormalizeProblem(std::string_view input) {
    const std::string_view name = NormalizeName(input);
    if (!name.empty() &&
        (name.data() < input.data() || name.data() + name.size() > input.data() + input.size()))
        return "NormalizeName returned text outside its input";
    if (name.starts_with(' '))
        return "NormalizeName left a leading space";
    if (EndsWithColourCode(name))
        return "NormalizeName left a trailing colour code";
    // A second pass changes only a name that now ends in a space ("Bob ^7" gives "Bob ").
    if (!name.ends_with(' ') && NormalizeName(name) != name)
        return "NormalizeName is not idempotent on \"" + std::string(name) + "\"";
    if (input.find('^') == std::string_view::npos && NormalizeName(input) != TrimSpaces(input))
        return "NormalizeName changed more than the spaces of a name without codes";
    return {};
}

std::string ColourProblem(std::string_view input) {
    const std::string stripped = StripColourCodes(input);
    const std::string plain = ColourToHtml(input, HtmlEscaping::None);
    const std::string escaped = ColourToHtml(input, HtmlEscaping::Escape);
    if (std::string markup = FontMarkupProblem(escaped); !markup.empty())
        return "ColourToHtml (escaped): " + markup;
    // Escaping also turns C0 controls into U+FFFD, as every page does.
    if (TextOfMarkup(escaped) != ReplaceControlChars(stripped))
        return "ColourToHtml (escaped) shows other text than StripColourCodes";
    if (input.find_first_of("<>&") == std::string_view::npos && TextOfMarkup(plain) != stripped)
        return "ColourToHtml shows other text than StripColourCodes";
    if (input.find('^') == std::string_view::npos && stripped != input)
        return "StripColourCodes changed a text without codes";
    if (IsValidUtf8(input) && !(IsValidUtf8(stripped) && IsValidUtf8(escaped)))
        return "a colour routine broke a UTF-8 sequence";
    return {};
}

std::string EscapingProblem(std::string_view input) {
    const std::string html = EscapeHtml(input);
    // Round-trips but for C0 controls, which pages show as U+FFFD.
    if (html.find_first_of("<>") != std::string::npos ||
        TextOfMarkup(html) != ReplaceControlChars(input))
        return "EscapeHtml does not round-trip";
    const std::string xmlText = EscapeXmlText(input);
    if (!IsValidUtf8(xmlText))
        return "EscapeXmlText wrote invalid UTF-8";
    const XmlReading reading = ReadXml("<a>" + xmlText + "</a>");
    if (!reading.Error.empty())
        return "EscapeXmlText gave text an XML reader rejects: " + reading.Error;
    // Readers turn CR into LF, so only texts without CR must come back unchanged.
    bool clean = IsValidUtf8(input) && input.find('\r') == std::string_view::npos;
    for (unsigned char c : input)
        clean = clean && (c >= 0x20 || c == '\t' || c == '\n');
    clean = clean && input.find("\xEF\xBF\xBE") == std::string_view::npos &&
            input.find("\xEF\xBF\xBF") == std::string_view::npos;
    if (clean && reading.Text != input)
        return "EscapeXmlText changed an allowed text";
    return {};
}

} // namespace

std::string NameRoutinesProblem(std::string_view input) {
    for (char c : input) {
        if (IsColourCodeChar(c) != IsCodeCharByRule(c))
            return "IsColourCodeChar is wrong for byte " +
                   std::to_string(static_cast<unsigned char>(c));
    }
    if (IsColourCodeChar(input) != (input.size() == 1 && IsCodeCharByRule(input[0])))
        return "IsColourCodeChar is wrong for a text of " + std::to_string(input.size()) + " bytes";
    for (const auto& problem :
         {NormalizeProblem(input), ColourProblem(input), EscapingProblem(input)}) {
        if (!problem.empty())
            return problem;
    }
    return {};
}

} // namespace qla::robust
