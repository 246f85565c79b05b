// Page frame, style sheet and the small helpers every HTML writer shares.
#include "export/html_frame.h"

#include "core/names.h"
#include "export/colour_html.h"
#include "export/html_text.h"
#include "export/output_file.h"
#include "export/page_writer.h"

#include <array>

namespace qla {

namespace {

constexpr std::array<std::string_view, 17> kStyleSheet{
    "a {text-decoration: none;color: #202020}",
    "a:hover{text-decoration: underline;color: #000000}",
    "",
    "body {background-color: #808080; font-family: Verdana; font-size: 15px; color: #101010; "
    "text-align:left}",
    "",
    "tr.light{font-family: Tahoma; font-size: 12px; color: #202020; background-color: #ABABAB}",
    "tr.dark{font-family: Tahoma; font-size: 12px; color: #202020; background-color: #909090}",
    "",
    "td {font-family: Tahoma; font-size: 12px; color: #FFFFFF; text-align:left; "
    "text-valign:top;}",
    "td.nr {font-family: Tahoma; font-size: 12px; color: #202020; text-align:center}",
    "td.name {font-family: Verdana; font-size: 12px; color: #FFFFFF; text-align:left}",
    "",
    "th {font-family: Tahoma; font-size: 15px; color: #202020; text-align:left}",
    "th.nr {font-family: Tahoma; font-size: 15px; color: #202020; text-align:center}",
    "th.name {font-family: Verdana; font-size: 15px; color: #202020; text-align:left}",
    "",
    "h2 {font-family: Verdana; font-size: 20px; color: #202020; text-align:left}",
};

} // namespace

PageFrame BuildPageFrame(std::string_view title) {
    PageFrame frame;
    frame.PageHead = "<html><head><meta charset='utf-8'><title>" +
                     EscapeHtml(StripColourCodes(title)) + " - " + std::string(kHomePage) +
                     "</title><link rel='stylesheet' href='style.css' type='text/css'></head>"
                     "<body><h2>" +
                     ColourToHtml(title, HtmlEscaping::Escape) +
                     "</h2><table cellspacing=1 cellpadding=3>";
    frame.PageFoot =
        "</table><br><hr>HTML Page generated with Quarvel Logfile Analyzer<br><a href='" +
        std::string(kHomePage) + "'>" + std::string(kHomePage) + "</a></body></html>";
    return frame;
}

int WriteStyleSheetFile(Sink& sink) {
    const std::string name = "style.css";
    if (sink.Has(name))
        return 0;
    OutputFile file;
    if (!file.Create(sink, name))
        return file.ErrorNumber();
    for (std::string_view rule : kStyleSheet)
        file.Line(rule);
    // A style sheet that appears meanwhile is kept, like one that was there before.
    file.Close(true, WhenNameTaken::Keep);
    return file.ErrorNumber();
}

ExportResult WriteStyleSheet(Sink& sink) {
    const int errorNumber = WriteStyleSheetFile(sink);
    return errorNumber == 0 ? ExportResult{} : Failure(errorNumber, 0);
}

std::string_view NextRowClass(std::string_view current) {
    return current == "light" ? "dark" : "light";
}

std::string HeadingHtml(std::string_view text) {
    return "<h2>" + std::string(text) + "</h2>";
}

} // namespace qla
