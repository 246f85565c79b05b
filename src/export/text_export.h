// Separator-delimited text exports of the six export pages, and the preview of the text
// options dialog. Files are UTF-8 without byte-order mark, every line ending in CR LF.
#pragma once

#include "core/store.h"
#include "export/export_types.h"
#include "stats/orders.h"

#include <string>
#include <string_view>

namespace qla {

class KillEventIndex;

// The choices of the text options dialog; defaults are its state when it opens.
struct TextExportOptions {
    bool IncludeHeader = true;
    std::string Separator = ",";
    bool RemoveColors = false;
};

// The content of the dialog's preview box for the given choices.
std::string PreviewText(const TextExportOptions& options);

ExportResult WriteStandardText(const AnalysisStore& store, const std::string& path,
                               const StandardColumns& columns, StandardOrder order, bool ascending,
                               const TextExportOptions& options, std::string_view decimalSeparator);

// `player` is a stored player's index (find it with AnalysisStore::FindPlayer); any other value
// fails before a file is created.
ExportResult WritePlayerDetailsText(const AnalysisStore& store, const std::string& path,
                                    const PlayerDetailSections& sections, PlayerDetailOrder order,
                                    bool ascending, PlayerIndex player,
                                    const TextExportOptions& options);

ExportResult WriteWeaponText(const AnalysisStore& store, const std::string& path,
                             const WeaponColumns& columns, WeaponOrder order, bool ascending,
                             const TextExportOptions& options);

struct Statistics;
// The voice (or text) chat's messages, streamed from the statistics' line source.
ExportResult WriteChatText(const Statistics& stats, bool voice, const std::string& path,
                           const ChatFlags& flags, const TextExportOptions& options);
ExportResult WriteUnknownLinesText(const Statistics& stats, const std::string& path,
                                   const LineProgress& progress);
ExportResult WriteVoiceChatText(const AnalysisStore& store, const std::string& path,
                                const ChatFlags& flags, const TextExportOptions& options);
ExportResult WriteTextChatText(const AnalysisStore& store, const std::string& path,
                               const ChatFlags& flags, const TextExportOptions& options);

ExportResult WriteUnknownLinesText(const AnalysisStore& store, const std::string& path,
                                   const LineProgress& progress = {});

} // namespace qla
