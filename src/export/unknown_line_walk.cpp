// Counting the unknown lines as they are written.
#include "export/unknown_line_walk.h"

namespace qla {

bool EachUnknownLine(const LineSource& lines, const LineProgress& progress,
                     const TextLineVisitor& visit, std::string& error) {
    const std::int64_t count = lines.UnknownLineCount();
    std::int64_t done = 0;
    return lines.ForEachUnknownLine(
        [&](std::string_view line) {
            visit(line);
            ++done;
            if (progress && (done % kLineProgressStride == 0 || done == count))
                progress(done, count);
        },
        error);
}

} // namespace qla
