// Building blocks of the statistics site's pages: escaped text, coloured names, the page frame
// with its navigation, SVG bar charts and the pager of long tables.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

// Appends text with &, <, >, " and ' as character references: safe in content and attributes.
void AppendHtmlText(std::string& out, std::string_view text);

// A player name as text, each coloured run in a span of its colour class ("c0".."c7"); the codes
// are not shown. A name without codes is its text alone: the pages hold many names.
void AppendColouredName(std::string& out, std::string_view name);

// Where a page lives: the root of the site or the players/ folder below it.
enum class PageDepth { Root, Player };

struct PageHead {
    std::string_view Title;     // the page's own title, shown as its heading
    std::string_view GameTitle; // may hold colour codes
    std::string_view ActiveNav; // "overview", "weapons", "voice", "text", "coverage" or empty
    PageDepth Depth = PageDepth::Root;
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

// A table split over files: page 1 is `first`, page k is stem-k.html. Pages count from 1.
struct PagedFiles {
    std::string_view First;
    std::string_view Stem;
    std::string Name(std::size_t page) const;
};
void AppendPager(std::string& out, const PagedFiles& files, std::size_t page, std::size_t pages);

// The file of a player's page below players/: a number, so no name ever becomes a path.
std::string PlayerFileName(std::int32_t player);

} // namespace qla
