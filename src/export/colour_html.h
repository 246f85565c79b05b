// Colour codes as the classic pages write them: a font tag of the code's colour for every code.
// The colours of the codes are the core's (ColourIndexOf); the tags are the pages' own.
#pragma once

#include <string>
#include <string_view>

namespace qla {

// Whether the characters copied between colour codes are HTML-escaped (EscapeHtml).
enum class HtmlEscaping { None, Escape };

// Replaces each colour code with a font tag of its colour, closing the one before: a code with
// no text after it still opens and closes its tag, as the pages have always had it.
std::string ColourToHtml(std::string_view text, HtmlEscaping escaping = HtmlEscaping::None);

} // namespace qla
