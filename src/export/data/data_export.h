// Machine-readable exports of the views: JSON after the versioned schema in docs/json.md, and
// CSV after RFC 4180 (UTF-8, CR LF, a header row). Rows come in the order the other formats use
// for the same order key; every column and section is always written, so the layout is fixed.
#pragma once

#include "core/store.h"
#include "export/data/csv_text.h"
#include "export/export_types.h"
#include "stats/orders.h"

#include <string>

namespace qla {

inline constexpr int kJsonSchemaVersion = 1;
inline constexpr std::string_view kJsonSchemaName = "quarvel-statistics";

ExportResult WriteStandardJson(const AnalysisStore& store, const std::string& path,
                               StandardOrder order, bool ascending);
// `player` is a stored player's index; any other value fails before a file is created.
ExportResult WritePlayerDetailsJson(const AnalysisStore& store, const std::string& path,
                                    PlayerDetailOrder order, bool ascending, PlayerIndex player);
ExportResult WriteWeaponJson(const AnalysisStore& store, const std::string& path, WeaponOrder order,
                             bool ascending);
struct Statistics;
// The chats and the junk lines, their rows streamed from the statistics' line source.
ExportResult WriteChatJson(const Statistics& stats, bool voice, const std::string& path);
ExportResult WriteUnknownLinesJson(const Statistics& stats, const std::string& path);
ExportResult WriteChatCsv(const Statistics& stats, bool voice, const std::string& path,
                          const CsvOptions& options);
ExportResult WriteUnknownLinesCsv(const Statistics& stats, const std::string& path,
                                  const CsvOptions& options);
ExportResult WriteVoiceChatJson(const AnalysisStore& store, const std::string& path);
ExportResult WriteTextChatJson(const AnalysisStore& store, const std::string& path);
ExportResult WriteUnknownLinesJson(const AnalysisStore& store, const std::string& path);

ExportResult WriteStandardCsv(const AnalysisStore& store, const std::string& path,
                              StandardOrder order, bool ascending, const CsvOptions& options);
ExportResult WritePlayerDetailsCsv(const AnalysisStore& store, const std::string& path,
                                   PlayerDetailOrder order, bool ascending, PlayerIndex player,
                                   const CsvOptions& options);
ExportResult WriteWeaponCsv(const AnalysisStore& store, const std::string& path, WeaponOrder order,
                            bool ascending, const CsvOptions& options);
ExportResult WriteVoiceChatCsv(const AnalysisStore& store, const std::string& path,
                               const CsvOptions& options);
ExportResult WriteTextChatCsv(const AnalysisStore& store, const std::string& path,
                              const CsvOptions& options);
ExportResult WriteUnknownLinesCsv(const AnalysisStore& store, const std::string& path,
                                  const CsvOptions& options);

} // namespace qla
