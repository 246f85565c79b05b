// Separator-delimited text exports of the six export pages, and the preview of the text
// options dialog. Files are UTF-8 without byte-order mark, every line ending in CR LF.
#pragma once

#include "export/export_types.h"

#include <string>
#include <string_view>

namespace qla {

// The choices of the text options dialog; defaults are its state when it opens.
struct TextExportOptions {
    bool IncludeHeader = true;
    std::string Separator = ",";
    bool RemoveColors = false;
};

// The content of the dialog's preview box for the given choices.
std::string PreviewText(const TextExportOptions& options);

struct ExportOutcome;
struct ExportRequest;
struct Statistics;
class Sink;

// Each reads its view's options and the request's Text options. The player's file fails before
// it is created for a player that is not stored (find one with AnalysisStore::FindPlayer); the
// chat and junk files stream their rows from the statistics' line source.
ExportOutcome WriteStandardText(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WritePlayerDetailsText(const Statistics& stats, const ExportRequest& request,
                                     Sink& sink);
ExportOutcome WriteWeaponText(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteVoiceChatText(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteTextChatText(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteUnknownLinesText(const Statistics& stats, const ExportRequest& request,
                                    Sink& sink);

} // namespace qla
