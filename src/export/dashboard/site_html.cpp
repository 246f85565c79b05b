// HTML pieces of the statistics site.
#include "export/dashboard/site_html.h"

#include "core/names.h"
#include "export/dashboard/site_names.h"

#include <algorithm>

namespace qla {

namespace {

constexpr std::string_view kNavItems[][3] = {
    {"overview", "index.html", "Overview"},          {"weapons", "weapons.html", "Weapons"},
    {"voice", "voice.html", "Voice chat"},           {"text", "text.html", "Text chat"},
    {"coverage", "coverage.html", "Parse coverage"},
};

// One decimal, without a ".0": a chart holds many coordinates.
void AppendNumber(std::string& out, double value) {
    char buffer[32];
    int length = std::snprintf(buffer, sizeof buffer, "%.1f", value);
    if (length > 2 && buffer[length - 1] == '0' && buffer[length - 2] == '.')
        length -= 2;
    out.append(buffer, static_cast<std::size_t>(length));
}

} // namespace

void AppendPageStart(std::string& out, const PageHead& head) {
    const std::string_view root = head.Root;
    out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
           "<meta name=\"color-scheme\" content=\"light dark\">\n<title>";
    AppendHtmlText(out, head.Title);
    out += " - ";
    AppendHtmlText(out, StripColourCodes(head.GameTitle));
    out += "</title>\n<link rel=\"stylesheet\" href=\"";
    out += root;
    out += "site.css\">\n<script defer src=\"";
    out += root;
    out += "site.js\"></script>\n";
    out += head.Head;
    out += "</head>\n<body>\n<header class=\"top\">\n<p class=\"game\">";
    AppendColouredText(out, head.GameTitle);
    out += "</p>\n<nav aria-label=\"Site\"><ul>";
    for (const auto& item : kNavItems) {
        out += "<li><a href=\"";
        out += root;
        out += item[1];
        out += '"';
        if (item[0] == head.ActiveNav)
            out += " aria-current=\"page\"";
        out += '>';
        out += item[2];
        out += "</a>"; // an item ends where the next begins
    }
    out += "</ul></nav>\n</header>\n<main>\n<h1>";
    AppendHtmlText(out, head.Title);
    out += "</h1>\n";
}

void AppendPageEnd(std::string& out) {
    out += "</main>\n<footer><p>Written by Quarvel Logfile Analyzer</p></footer>\n</body>\n"
           "</html>\n";
}

void AppendBarChart(std::string& out, std::string_view title,
                    const std::vector<std::string_view>& seriesNames,
                    const std::vector<BarChartRow>& rows) {
    std::int64_t most = 1;
    for (const BarChartRow& row : rows)
        for (const std::int64_t v : row.Values)
            most = std::max(most, v);
    const std::size_t series = seriesNames.size();
    const int barHeight = 12;
    const int rowHeight = static_cast<int>(series) * barHeight + 8;
    const int labelWidth = 110, chartWidth = 480, valueWidth = 60;
    const int height = static_cast<int>(rows.size()) * rowHeight + 24;
    out += "<figure class=\"chart\">\n<svg role=\"img\" viewBox=\"0 0 ";
    out += std::to_string(labelWidth + chartWidth + valueWidth) + " " + std::to_string(height);
    out += "\" aria-label=\"";
    AppendHtmlText(out, title);
    out += "\">\n";
    for (std::size_t s = 0; s < series; ++s) {
        const int x = static_cast<int>(s) * 130;
        out += "<rect class=\"s" + std::to_string(s) + "\" x=\"" + std::to_string(x) +
               "\" y=\"2\" width=\"10\" height=\"10\"/><text x=\"" + std::to_string(x + 14) +
               "\" y=\"11\">";
        AppendHtmlText(out, seriesNames[s]);
        out += "</text>\n";
    }
    int y = 22;
    for (const BarChartRow& row : rows) {
        out += "<text class=\"label\" x=\"" + std::to_string(labelWidth - 6) + "\" y=\"" +
               std::to_string(y + rowHeight / 2 + 2) + "\">";
        AppendHtmlText(out, row.Label);
        out += "</text>";
        for (std::size_t s = 0; s < series && s < row.Values.size(); ++s) {
            const double width =
                static_cast<double>(row.Values[s]) * chartWidth / static_cast<double>(most);
            const int barY = y + static_cast<int>(s) * barHeight;
            out += "<rect class=\"s" + std::to_string(s) + "\" x=\"" + std::to_string(labelWidth) +
                   "\" y=\"" + std::to_string(barY) + "\" width=\"";
            AppendNumber(out, width);
            // The value stands beside the bar, so the bar needs no title of its own.
            out +=
                "\" height=\"" + std::to_string(barHeight - 2) + "\"/><text class=\"value\" x=\"";
            AppendNumber(out, labelWidth + width + 4);
            out += "\" y=\"" + std::to_string(barY + barHeight - 3) + "\">" +
                   std::to_string(row.Values[s]) + "</text>";
        }
        out += "\n";
        y += rowHeight;
    }
    out += "</svg>\n<figcaption>";
    AppendHtmlText(out, title);
    out += "</figcaption>\n</figure>\n";
}

void AppendLineChart(std::string& out, std::string_view title,
                     const std::vector<std::string>& labels,
                     const std::vector<std::string_view>& seriesNames,
                     const std::vector<std::vector<std::int64_t>>& series) {
    std::int64_t most = 1;
    for (const auto& values : series)
        for (const std::int64_t v : values)
            most = std::max(most, v);
    const int width = 600, height = 220, left = 40, bottom = 34, top = 22;
    const std::size_t n = labels.size();
    const auto xOf = [&](std::size_t i) {
        return n <= 1 ? left + (width - left) / 2.0
                      : left + static_cast<double>(i) * (width - left - 10) /
                                   static_cast<double>(n - 1);
    };
    const auto yOf = [&](std::int64_t v) {
        return top +
               (height - top - bottom) * (1.0 - static_cast<double>(v) / static_cast<double>(most));
    };
    out += "<figure class=\"chart\">\n<svg role=\"img\" viewBox=\"0 0 " + std::to_string(width) +
           " " + std::to_string(height) + "\" aria-label=\"";
    AppendHtmlText(out, title);
    out += "\">\n";
    for (std::size_t s = 0; s < seriesNames.size(); ++s) {
        const int x = left + static_cast<int>(s) * 130;
        out += "<rect class=\"s" + std::to_string(s) + "\" x=\"" + std::to_string(x) +
               "\" y=\"2\" width=\"10\" height=\"10\"/><text x=\"" + std::to_string(x + 14) +
               "\" y=\"11\">";
        AppendHtmlText(out, seriesNames[s]);
        out += "</text>\n";
    }
    for (std::size_t s = 0; s < series.size(); ++s) {
        const auto& values = series[s];
        const std::string index = std::to_string(s);
        out += "<polyline class=\"line l";
        out += index;
        out += "\" points=\"";
        for (std::size_t i = 0; i < n && i < values.size(); ++i) {
            AppendNumber(out, xOf(i));
            out += ',';
            AppendNumber(out, yOf(values[i]));
            out += ' ';
        }
        out += "\"/>\n";
        for (std::size_t i = 0; i < n && i < values.size(); ++i) {
            out += "<circle class=\"s";
            out += index;
            out += "\" r=\"3\" cx=\"";
            AppendNumber(out, xOf(i));
            out += "\" cy=\"";
            AppendNumber(out, yOf(values[i]));
            out += "\"><title>";
            AppendHtmlText(out, labels[i]);
            out += ": " + std::to_string(values[i]) + " ";
            AppendHtmlText(out, s < seriesNames.size() ? seriesNames[s] : std::string_view());
            out += "</title></circle>\n";
        }
    }
    out += "<text class=\"value\" x=\"2\" y=\"" + std::to_string(top + 8) + "\">" +
           std::to_string(most) + "</text>\n";
    // The first and the last date under the axis; the points' titles name every one.
    if (n > 0) {
        out += "<text class=\"value\" x=\"" + std::to_string(left) + "\" y=\"" +
               std::to_string(height - 8) + "\">";
        AppendHtmlText(out, labels.front());
        out += "</text>\n";
    }
    if (n > 1) {
        out += "<text class=\"label\" x=\"" + std::to_string(width - 10) + "\" y=\"" +
               std::to_string(height - 8) + "\">";
        AppendHtmlText(out, labels.back());
        out += "</text>\n";
    }
    out += "</svg>\n<figcaption>";
    AppendHtmlText(out, title);
    out += "</figcaption>\n</figure>\n";
}

void AppendPager(std::string& out, std::string_view root, std::size_t page, std::size_t pages,
                 const std::function<std::string(std::size_t)>& pathOf, PagerCount count) {
    if (pages <= 1)
        return;
    out += "<nav class=\"pager\" aria-label=\"Pages\"><p>Page " + std::to_string(page);
    const bool counted = count == PagerCount::EveryPage || page == 1;
    if (counted)
        out += " of " + std::to_string(pages);
    out += ":";
    const auto link = [&](std::size_t to, std::string_view text) {
        out += " <a href=\"";
        out += root;
        out += pathOf(to);
        out += "\">";
        out += text;
        out += "</a>";
    };
    if (page > 1) {
        link(1, "first");
        link(page - 1, "previous");
    }
    if (page < pages) {
        link(page + 1, "next");
        if (counted)
            link(pages, "last");
    }
    out += "</p></nav>\n";
}

} // namespace qla
