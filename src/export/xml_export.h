// The standard player table as a small XML document, well-formed whatever the names hold.
#pragma once

#include <string>
#include <string_view>

namespace qla {

struct ExportOutcome;
struct ExportRequest;
struct Statistics;
class Sink;

// The standard table in the request's order; ratios always with a decimal point.
ExportOutcome WriteStandardXml(const Statistics& stats, const ExportRequest& request, Sink& sink);

// Escapes "&" "<" ">" and writes U+FFFD for every character XML 1.0 forbids and for every byte
// that is not valid UTF-8.
std::string EscapeXmlText(std::string_view text);

} // namespace qla
