// One atomic file, written at once.
#include "export/data/whole_file.h"

#include "export/atomic_file.h"

#include <cerrno>

namespace qla {

ExportResult WriteWholeFile(const std::string& path, std::string_view content,
                            const std::optional<FileIdentity>& logFile, bool durable, int stage) {
    AtomicFile file;
    if (file.Open(path, logFile) && file.Write(content) && file.Commit(durable))
        return {};
    if (!file.Refusal().empty())
        return {file.Refusal()};
    return Failure(file.ErrorNumber() != 0 ? file.ErrorNumber() : EIO, stage);
}

} // namespace qla
