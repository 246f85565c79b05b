// Log and user texts in HTML: the one escaper of the export layer, with its two uses. The classic
// pages keep the bytes they have always written; the statistics site also quotes the quotes, so
// its text is safe in attribute values too.
#pragma once

#include <string>
#include <string_view>

namespace qla {

// Whether '"' and '\'' become character references as well as '&', '<' and '>'.
enum class HtmlQuotes { Kept, Escaped };

// Appends `text` with "&" "<" ">" as "&amp;" "&lt;" "&gt;", with `Escaped` also '"' and '\'' as
// "&quot;" and "&#39;", and C0 controls other than tab as U+FFFD.
void AppendEscapedHtml(std::string& out, std::string_view text, HtmlQuotes quotes);

// The classic pages' escaping: quotes are kept.
std::string EscapeHtml(std::string_view text);

// The statistics site's escaping: safe in content and in quoted attributes.
void AppendHtmlText(std::string& out, std::string_view text);

} // namespace qla
