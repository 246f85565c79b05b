// The standard player table as a small XML document, well-formed whatever the names hold.
#pragma once

#include "core/store.h"
#include "export/export_types.h"
#include "stats/orders.h"

#include <string>
#include <string_view>

namespace qla {

ExportResult WriteXml(const AnalysisStore& store, const std::string& path, StandardOrder order,
                      bool ascending, std::string_view decimalSeparator);

// Escapes "&" "<" ">" and writes U+FFFD for every character XML 1.0 forbids and for every byte
// that is not valid UTF-8.
std::string EscapeXmlText(std::string_view text);

} // namespace qla
