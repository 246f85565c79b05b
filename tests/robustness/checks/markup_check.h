// Strict well-formedness checks of what the writers produce. The HTML check knows exactly the
// markup the writers generate, so anything else that looks like markup is reported.
#pragma once

#include <string>
#include <string_view>

namespace qla::robust {

// "" when `page` is one complete page: valid UTF-8, CR LF line ends, only the writers' own tags
// (properly nested, void tags unclosed), attribute values without markup, and text in which
// ">" never stands raw and "&" only starts "&amp;", "&lt;" or "&gt;".
std::string HtmlPageProblem(std::string_view page);

// The text a reader sees: tags removed, "&amp;" "&lt;" "&gt;" decoded.
std::string TextOfMarkup(std::string_view markup);

// "" when `html` is what ColourToHtml writes: text between "<font color=#RRGGBB>" and "</font>"
// pairs that never nest, everything else escaped.
std::string FontMarkupProblem(std::string_view html);

// The number of "<" in `text`: on a page, one per generated tag.
std::size_t TagCount(std::string_view text);

} // namespace qla::robust
