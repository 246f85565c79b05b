// What every HTML page shares: the head and foot around its table, the style sheet, the
// light/dark row alternation. Log and user texts are escaped with EscapeHtml (html_text.h).
#pragma once

#include "export/export_types.h"
#include "export/html_text.h"
#include "export/sink.h"

#include <string>
#include <string_view>

namespace qla {

struct PageFrame {
    std::string PageHead; // one line: opens the document and the page's table
    std::string PageFoot; // one line: closes the table and the document
};

// `title` may hold colour codes; it is escaped where it is written.
PageFrame BuildPageFrame(std::string_view title);

// Writes "style.css" into `sink` unless something of that name is there: an existing style
// sheet is never replaced.
ExportResult WriteStyleSheet(Sink& sink);

// "dark" after "light", "light" after anything else.
std::string_view NextRowClass(std::string_view current);

// "<h2>" text "</h2>"; `text` is markup, escape log texts before.
std::string HeadingHtml(std::string_view text);

} // namespace qla
