// RunExport: the one place that picks a writer for a view and a format.
#include "export/export_request.h"

#include "export/export_views.h"
#include "export/output_file.h"

#include <cerrno>

namespace qla {

ExportOutcome RunExport(const Statistics& stats, const ExportRequest& request) {
    const ViewWriter* writer = WriterOf(request.View, request.Format);
    if (writer == nullptr)
        return {Failure(EINVAL, static_cast<int>(WriterStage::Started)), {}};
    return writer->WriteLines ? writer->WriteLines(stats, request)
                              : writer->Write(stats.Store, request);
}

ExportOutcome RunExport(const AnalysisStore& store, const ExportRequest& request) {
    return RunExport(Statistics{store, StoreLines(store)}, request);
}

bool ExportsIntoSink(const ExportRequest& request) {
    return FileWriterOf(request.View, request.Format) != nullptr;
}

ExportResult RunExportInto(const AnalysisStore& store, const ExportRequest& request,
                           FileSink& sink) {
    const SiteFileWriter write = FileWriterOf(request.View, request.Format);
    if (write == nullptr)
        return Failure(EINVAL, static_cast<int>(WriterStage::Started));
    return write(store, request, sink);
}

} // namespace qla
