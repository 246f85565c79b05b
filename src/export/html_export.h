// The single HTML pages: player index, player details, weapons, voice chat, text chat and the
// "Logfile Junk" page. Every page is framed by BuildPageFrame; with linksFlag false a page also
// puts "style.css" next to itself (never replacing one). The chat and junk pages have no links.
#pragma once

#include "core/store.h"
#include "export/export_types.h"
#include "stats/orders.h"

#include <string>
#include <string_view>

namespace qla {

class KillEventIndex;
struct PlayerNameTexts;
struct PlayerEventRows;

// "player007" for 7; 1000 and above in full ("player1000").
std::string PlayerPageName(PlayerIndex index);

ExportResult WriteStandardHtml(const AnalysisStore& store, const std::string& path,
                               const StandardColumns& columns, StandardOrder order, bool ascending,
                               bool linksFlag, std::string_view gameTitle,
                               std::string_view decimalSeparator);

// `player` is a stored player's index (find it with AnalysisStore::FindPlayer); any other value
// fails before a file is created. `events` is built once from `store` and may serve many pages.
ExportResult WritePlayerDetailsHtml(const AnalysisStore& store, const KillEventIndex& events,
                                    const std::string& path, const PlayerDetailSections& sections,
                                    PlayerDetailOrder order, bool ascending, PlayerIndex player,
                                    bool linksFlag, std::string_view gameTitle);
// The same with every player's name converted beforehand (a site writes many such pages) and,
// when `counted` is given, the player's event sections counted beforehand as well.
ExportResult WritePlayerDetailsHtml(const AnalysisStore& store, const KillEventIndex& events,
                                    const PlayerNameTexts& names, const std::string& path,
                                    const PlayerDetailSections& sections, PlayerDetailOrder order,
                                    bool ascending, PlayerIndex player, bool linksFlag,
                                    std::string_view gameTitle,
                                    const PlayerEventRows* counted = nullptr);
// The same for one page, building its own event index.
ExportResult WritePlayerDetailsHtml(const AnalysisStore& store, const std::string& path,
                                    const PlayerDetailSections& sections, PlayerDetailOrder order,
                                    bool ascending, PlayerIndex player, bool linksFlag,
                                    std::string_view gameTitle);

ExportResult WriteWeaponHtml(const AnalysisStore& store, const std::string& path,
                             const WeaponColumns& columns, WeaponOrder order, bool ascending,
                             bool linksFlag, std::string_view gameTitle);

struct Statistics;
// The voice (or text) chat's page and the junk page, their rows streamed from the statistics'
// line source.
ExportResult WriteChatHtml(const Statistics& stats, bool voice, const std::string& path,
                           const ChatFlags& flags, std::string_view gameTitle);
ExportResult WriteUnknownLinesHtml(const Statistics& stats, const std::string& path,
                                   std::string_view gameTitle, std::string_view logDateText,
                                   const LineProgress& progress);
ExportResult WriteVoiceChatHtml(const AnalysisStore& store, const std::string& path,
                                const ChatFlags& flags, std::string_view gameTitle);
ExportResult WriteTextChatHtml(const AnalysisStore& store, const std::string& path,
                               const ChatFlags& flags, std::string_view gameTitle);

// `logDateText` is the date shown for the opened log (empty when the log has none).
ExportResult WriteUnknownLinesHtml(const AnalysisStore& store, const std::string& path,
                                   std::string_view gameTitle, std::string_view logDateText,
                                   const LineProgress& progress = {});

} // namespace qla
