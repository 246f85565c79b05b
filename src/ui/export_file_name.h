// The file name an export's save dialog proposes, so that a first export needs no typing.
#pragma once

#include <QString>

#include <string_view>

namespace qla::ui {

// The same export as the last one (view, format and player) proposes the last file again.
// Any other is named after its view (qla's --view name), with the player's name for one
// player's page ("player-Bob"), in the last export's folder, or beside the log before any
// export. The name has no extension: the dialog's format adds it.
QString ProposedExportPath(const QString& lastPath, bool sameAsLast, std::string_view viewName,
                           const QString& player, const QString& logPath);

// `name` without colour codes, as a file name: characters that file systems or shells refuse
// or that would start an extension become "_"; "player" when nothing is left.
QString FileNameOfPlayer(const QString& name);

} // namespace qla::ui
