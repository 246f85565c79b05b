// Machine-readable exports of the views: JSON after the versioned schema in docs/json.md, and
// CSV after RFC 4180 (UTF-8, CR LF, a header row). Rows come in the order the other formats use
// for the same order key; every column and section is always written, so the layout is fixed.
#pragma once

#include <string_view>

namespace qla {

inline constexpr int kJsonSchemaVersion = 1;
inline constexpr std::string_view kJsonSchemaName = "quarvel-statistics";

struct ExportOutcome;
struct ExportRequest;
struct Statistics;
class Sink;

// Each reads its view's order and player from the request; the CSV writers take its Csv options
// and fail before any file is made on a separator a quoted field could not be told from. The
// player's file fails before it is created for a player that is not stored. The chats and the
// junk lines stream their rows from the statistics' line source.
ExportOutcome WriteStandardJson(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WritePlayerDetailsJson(const Statistics& stats, const ExportRequest& request,
                                     Sink& sink);
ExportOutcome WriteWeaponJson(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteVoiceChatJson(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteTextChatJson(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteUnknownLinesJson(const Statistics& stats, const ExportRequest& request,
                                    Sink& sink);

ExportOutcome WriteStandardCsv(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WritePlayerDetailsCsv(const Statistics& stats, const ExportRequest& request,
                                    Sink& sink);
ExportOutcome WriteWeaponCsv(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteVoiceChatCsv(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteTextChatCsv(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteUnknownLinesCsv(const Statistics& stats, const ExportRequest& request,
                                   Sink& sink);

} // namespace qla
