// The statistics site's own style sheet and script, written beside its pages as site.css and
// site.js. Their sources are site.css and site.js in this folder, built into the program.
#pragma once

#include <string_view>

namespace qla {

// Light and dark by the reader's preference, narrow screens first.
std::string_view SiteStyleSheet();

// Sortable headers, a search box and paging of long tables, whose rows it loads from their rows
// files on the first sort or search. Pages are whole without it; it never builds markup from
// text, only elements with text content.
std::string_view SiteScript();

} // namespace qla
