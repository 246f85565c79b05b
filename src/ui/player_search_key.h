// The text a player name is searched by: what a reader sees of it, with case and accents
// dropped, so "muller" finds "^1Mü^7ller" and "MÜLLER".
#pragma once

#include <QString>

#include <string_view>

namespace qla::ui {

// Colour codes removed, case folded as player names are compared (the core's FoldCase), then
// every accent or other combining mark taken off its letter. Used for the names and for the
// text typed into the search box alike.
QString PlayerSearchKey(std::string_view name);
QString PlayerSearchKey(const QString& typed);

} // namespace qla::ui
