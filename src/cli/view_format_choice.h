// --view and --format as qla export and qla watch read them: names in any case, a "did you
// mean" for a slip, and a refusal of a pair that does not go together that names what would.
#pragma once

#include "export/export_views.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace qla::cli {

struct ViewAndFormat {
    const ExportViewInfo* View = nullptr;
    const ExportFormatInfo* Format = nullptr;
};

// The view and the format named; nullopt with the usage error's message in `error`.
std::optional<ViewAndFormat> ParseViewAndFormat(const QString& view, const QString& format,
                                                std::string& error);

// The views that write a site (a folder of pages), in table order.
std::vector<std::string> SiteViewNames();

} // namespace qla::cli
