// Export All's output folder: one that does not exist yet is made when the export starts, as
// qla export makes its folder.
#pragma once

#include <string>

namespace qla::ui {

// Why `folder` cannot take the pages, checked before anything is asked or made. For a folder that
// does not exist yet: why its nearest existing parent cannot hold it. Empty when it can.
std::string OutputFolderRefusal(const std::string& folder);

// Makes `folder` with its missing parents (nothing when it exists); the reason when that fails,
// empty otherwise.
std::string MakeOutputFolder(const std::string& folder);

} // namespace qla::ui
