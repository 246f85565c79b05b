// Writes a finished text to a file in one go, for the writers that build their output in memory.
#pragma once

#include "core/file_identity.h"
#include "export/export_types.h"

#include <optional>
#include <string>
#include <string_view>

namespace qla {

// Creates or replaces `path` with `content` as every export does: beside the name, renamed over
// it when whole, never over `logFile`; `durable` puts it on the disk first (a site's many pages
// skip that, as Export All Data's do). A failure carries the errno text and `stage`; a name that
// may not be replaced carries the refusal.
ExportResult WriteWholeFile(const std::string& path, std::string_view content,
                            const std::optional<FileIdentity>& logFile, bool durable = true,
                            int stage = 0);

} // namespace qla
