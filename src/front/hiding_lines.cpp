// Hiding the streamed lines that name a hidden player.
#include "front/hiding_lines.h"

#include "analysis/hidden_players.h"

namespace qla::front {

bool HidingLines::ForEachUnknownLine(const TextLineVisitor& visit, std::string& error) const {
    return lines_.ForEachUnknownLine(
        [&](std::string_view line) {
            visit(NamesHiddenPlayer(line, hiddenKeys_) ? kHiddenLineText : line);
        },
        error);
}

bool HidingLines::FirstUnknownLines(std::size_t count, std::vector<std::string>& lines,
                                    std::string& error) const {
    if (!lines_.FirstUnknownLines(count, lines, error))
        return false;
    for (std::string& line : lines)
        if (NamesHiddenPlayer(line, hiddenKeys_))
            line = kHiddenLineText;
    return true;
}

} // namespace qla::front
