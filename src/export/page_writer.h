// The skeleton every table and chat page follows: frame, head, rows with alternating classes,
// foot, and the style sheet next to a single page.
#pragma once

#include "export/html_frame.h"
#include "export/output_file.h"

#include <string>
#include <string_view>

namespace qla {

// Writes "style.css" into `sink` unless something of that name is there; 0 or the error number.
int WriteStyleSheetFile(Sink& sink);

class PageWriter {
  public:
    // The page is the sink's own file (kOwnFile).
    explicit PageWriter(Sink& sink) : sink_(sink) {}

    // Stage Head: builds the frame, creates the file and writes the head.
    bool Begin(std::string_view title);
    void SetStage(WriterStage stage) { file_.SetStage(stage); }
    void Line(std::string_view text) { file_.Line(text); }
    template <class... Parts> void LineOf(const Parts&... parts) { file_.LineOf(parts...); }
    // "<tr class='light'>" or "dark", running on across the tables of the page.
    void BeginRow();
    void EndRow() { file_.Line("</tr>"); }
    // Writes the foot and closes; a single page (`styleSheet`) also gets "style.css" beside it
    // and is flushed to the disk (a site's pages are not: one flush per page costs a site of
    // thousands of pages minutes).
    ExportResult Finish(bool styleSheet);

  private:
    Sink& sink_;
    StagedFile file_;
    PageFrame frame_;
    std::string_view rowClass_;
};

} // namespace qla
