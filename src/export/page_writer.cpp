// The shared skeleton of the table and chat pages.
#include "export/page_writer.h"

namespace qla {

bool PageWriter::Begin(std::string_view title) {
    file_.SetStage(WriterStage::Head);
    frame_ = BuildPageFrame(title);
    if (!file_.Create(sink_, kOwnFile))
        return false;
    file_.Line(frame_.PageHead);
    return true;
}

void PageWriter::BeginRow() {
    rowClass_ = NextRowClass(rowClass_);
    // The two possible lines whole, rather than assembled from three pieces per row.
    file_.Line(rowClass_ == "dark" ? "<tr class='dark'>" : "<tr class='light'>");
}

ExportResult PageWriter::Finish(bool styleSheet) {
    file_.Line(frame_.PageFoot);
    ExportResult result = file_.Finish(styleSheet);
    if (!result.Ok() || !styleSheet)
        return result;
    if (const int errorNumber = WriteStyleSheetFile(sink_))
        return file_.FailWith(errorNumber);
    return result;
}

} // namespace qla
