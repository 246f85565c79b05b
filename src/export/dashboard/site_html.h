// Building blocks of the statistics site's pages: escaped text, the page frame with its
// navigation, SVG bar charts and the pager of long tables.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "export/dashboard/site_names.h"
#include "export/html_text.h" // AppendHtmlText: escaped text, safe in content and attributes

namespace qla {

struct PageHead {
    std::string_view Title;     // the page's own title, shown as its heading
    std::string_view GameTitle; // may hold colour codes
    std::string_view ActiveNav; // "overview", "weapons", "voice", "text", "coverage" or empty
    std::string_view Root;      // the way from the page to the site's root (RootFrom)
    std::string_view Head = {}; // more of the page's head, after the style sheet and script
};

void AppendPageStart(std::string& out, const PageHead& head);
void AppendPageEnd(std::string& out);

struct BarChartRow {
    std::string Label;
    std::vector<std::int64_t> Values; // one per series
};
// A horizontal bar chart with a legend; each series has its own colour class ("s0", "s1").
void AppendBarChart(std::string& out, std::string_view title,
                    const std::vector<std::string_view>& seriesNames,
                    const std::vector<BarChartRow>& rows);

// A line chart of series over labelled points (dates, evenly spaced), for a history; each
// series has the colour class of its index, as in the bar charts.
void AppendLineChart(std::string& out, std::string_view title,
                     const std::vector<std::string>& labels,
                     const std::vector<std::string_view>& seriesNames,
                     const std::vector<std::vector<std::int64_t>>& series);

// Where a pager tells the number of pages (and links the last): on every page, or on the first
// only, for a series that grows at its end (the chats), so that a new page changes no page but
// the first and the one before it.
enum class PagerCount { EveryPage, FirstPage };

// The links between the pages of a table split over files. Pages count from 1; pathOf(k) is page
// k's path from the site's root, `root` the way there from the page written.
void AppendPager(std::string& out, std::string_view root, std::size_t page, std::size_t pages,
                 const std::function<std::string(std::size_t)>& pathOf,
                 PagerCount count = PagerCount::EveryPage);

} // namespace qla
