// Reading a log: the fast splitter and decoder against the reading rules done the plain way.
#include "fuzz_checks.h"

#include "core/log_lines.h"
#include "core/text.h"

#include <vector>

namespace qla::robust {

namespace {

// The reading rules one byte at a time: a line ends at CR, CR LF or LF; a line end at the very
// end starts no new line.
std::vector<std::string_view> ReferenceSplit(std::string_view body) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    bool ended = false;
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\r' && body[i] != '\n')
            continue;
        lines.push_back(body.substr(start, i - start));
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n')
            ++i;
        start = i + 1;
        ended = true;
    }
    if (!(ended && start == body.size()))
        lines.push_back(body.substr(start));
    return lines;
}

std::string Decoded(std::string_view raw) {
    if (IsValidUtf8(raw))
        return std::string(raw);
    std::string out;
    AppendWindows1252AsUtf8(out, raw);
    return out;
}

} // namespace

std::string LogBytesProblem(std::string_view bytes) {
    const LogLineList list = LogLineList::FromBytes(std::string(bytes));
    std::string_view body = bytes;
    if (body.starts_with("\xEF\xBB\xBF"))
        body.remove_prefix(3);
    const std::vector<std::string_view> expected = ReferenceSplit(body);
    if (list.size() != expected.size())
        return std::to_string(list.size()) + " lines instead of " + std::to_string(expected.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string_view line = list[i];
        if (line.find_first_of("\r\n") != std::string_view::npos)
            return "line " + std::to_string(i) + " holds CR or LF";
        if (!IsValidUtf8(line))
            return "line " + std::to_string(i) + " is not valid UTF-8";
        if (line != Decoded(expected[i]))
            return "line " + std::to_string(i) + " was not decoded on its own";
    }
    return {};
}

} // namespace qla::robust
