// Writing a site's files into a folder.
#include "export/file_sink.h"

#include "export/data/whole_file.h"

#include <filesystem>

namespace qla {

ExportResult FolderSink::Put(const std::string& name, std::string_view content) {
    const std::string path = folder_ + "/" + name;
    const std::string_view parent = std::string_view(path).substr(0, path.find_last_of('/'));
    if (parent != madeFolder_) {
        std::error_code made;
        std::filesystem::create_directories(std::filesystem::path(parent), made);
        if (made)
            return {name + ": " + Failure(made.value(), 0).Error};
        madeFolder_ = parent;
    }
    // A site's many pages are not flushed one by one.
    ExportResult written = WriteWholeFile(path, content, logFile_, false);
    if (!written.Ok())
        written.Error = name + ": " + written.Error;
    return written;
}

} // namespace qla
