// The skeleton every table and chat page follows: frame, head, rows with alternating classes,
// foot, and the style sheet next to a single page.
#pragma once

#include "export/html_frame.h"
#include "export/output_file.h"

#include <optional>
#include <string>
#include <string_view>

namespace qla {

// Writes the style sheet unless something of that name exists; 0 or the error number.
int WriteStyleSheetFile(const std::string& path);

class PageWriter {
  public:
    // `logFile`: the file the page must never replace.
    PageWriter(std::string path, std::optional<FileIdentity> logFile)
        : path_(std::move(path)), logFile_(logFile) {}

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
    std::string path_;
    std::optional<FileIdentity> logFile_;
    StagedFile file_;
    PageFrame frame_;
    std::string_view rowClass_;
};

} // namespace qla
