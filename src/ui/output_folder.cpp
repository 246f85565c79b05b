// Export All's output folder, made when it does not exist yet. The site writer itself still
// refuses a folder it cannot use; this only lets a new folder's name through.
#include "ui/output_folder.h"

#include "export/export_all.h"

#include <filesystem>
#include <system_error>

namespace qla::ui {

namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

} // namespace

std::string OutputFolderRefusal(const std::string& folder) {
    if (folder.empty() || Exists(folder))
        return SiteFolderRefusal(folder);
    std::error_code error;
    fs::path parent = fs::absolute(fs::path(folder), error).parent_path();
    while (!parent.empty() && !Exists(parent) && parent != parent.root_path())
        parent = parent.parent_path();
    return SiteFolderRefusal(parent.string());
}

std::string MakeOutputFolder(const std::string& folder) {
    std::error_code error;
    fs::create_directories(fs::path(folder), error);
    return error ? error.message() : std::string();
}

} // namespace qla::ui
