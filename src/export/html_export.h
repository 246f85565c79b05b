// The single HTML pages: player index, player details, weapons, voice chat, text chat and the
// "Logfile Junk" page, each the sink's own file. Every page is framed by BuildPageFrame; unless the
// request's SiteLinks is set, a page also puts "style.css" beside itself (never replacing one).
// The chat and junk pages have no links.
#pragma once

#include "core/store.h"
#include "export/export_types.h"

#include <string>

namespace qla {

struct ExportOutcome;
struct ExportRequest;
struct Statistics;
class Sink;

// "player007" for 7; 1000 and above in full ("player1000").
std::string PlayerPageName(PlayerIndex index);

// Each reads its view's options from the request. The player's page fails before a file is
// created for a player that is not stored (find one with AnalysisStore::FindPlayer). The chat and
// junk pages stream their rows from the statistics' line source.
ExportOutcome WriteStandardHtml(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WritePlayerDetailsHtml(const Statistics& stats, const ExportRequest& request,
                                     Sink& sink);
ExportOutcome WriteWeaponHtml(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteVoiceChatHtml(const Statistics& stats, const ExportRequest& request, Sink& sink);
ExportOutcome WriteTextChatHtml(const Statistics& stats, const ExportRequest& request, Sink& sink);
// Headed with the request's Junk.LogDateText (the opened log's date; empty when it has none).
ExportOutcome WriteUnknownLinesHtml(const Statistics& stats, const ExportRequest& request,
                                    Sink& sink);

} // namespace qla
