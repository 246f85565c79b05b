// Hiding the streamed lines that name a hidden player.
#include "cli/hiding_lines.h"

#include "analysis/hidden_players.h"

namespace qla::cli {

bool HidingLines::ForEachUnknownLine(const TextLineVisitor& visit, std::string& error) const {
    return lines_.ForEachUnknownLine(
        [&](std::string_view line) {
            visit(NamesHiddenPlayer(line, hiddenKeys_) ? kHiddenLineText : line);
        },
        error);
}

} // namespace qla::cli
