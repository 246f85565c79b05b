// RunExport: the one place that picks a writer for a view and a format, and the sink it writes to.
#include "export/export_request.h"

#include "export/disk_sinks.h"
#include "export/export_views.h"
#include "export/output_file.h"
#include "export/site_folder.h"

#include <cerrno>

namespace qla {

namespace {

ExportOutcome NotTaken() {
    return Failure(EINVAL, static_cast<int>(WriterStage::Started));
}

} // namespace

ExportOutcome RunExport(const Statistics& stats, const ExportRequest& request) {
    const ViewWriter* writer = WriterOf(request.View, request.Format);
    if (writer == nullptr)
        return NotTaken();
    if (WritesFolder(request.View, request.Format))
        return WriteSiteFolder(stats, request, writer->Write);
    PathSink sink(request.Path, stats.Store.LogFileIdentity);
    return writer->Write(stats, request, sink);
}

ExportOutcome RunExport(const AnalysisStore& store, const ExportRequest& request) {
    return RunExport(Statistics{store, StoreLines(store)}, request);
}

ExportOutcome RunExport(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    const ViewWriter* writer = WriterOf(request.View, request.Format);
    if (writer == nullptr)
        return NotTaken();
    return writer->Write(stats, request, sink);
}

bool ExportsIntoSink(const ExportRequest& request) {
    return request.View == ExportView::Dashboard && request.Format == ExportFormat::Html;
}

ExportResult RunExportInto(const AnalysisStore& store, const ExportRequest& request, Sink& sink) {
    return RunExportInto(Statistics{store, StoreLines(store)}, request, sink);
}

ExportResult RunExportInto(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    if (!ExportsIntoSink(request))
        return NotTaken().File;
    return RunExport(stats, request, sink).File;
}

} // namespace qla
