// The pages of log lines: voice chat, text chat and the "Logfile Junk" page.
#include "core/names.h"
#include "export/colour_html.h"
#include "export/export_request.h"
#include "export/html_export.h"
#include "export/page_writer.h"
#include "export/unknown_line_walk.h"
#include "stats/statistics.h"

#include <vector>

namespace qla {
namespace {

ExportResult WriteChatHtml(const Statistics& stats, bool voice, Sink& sink, const ChatFlags& flags,
                           std::string_view gameTitle) {
    const AnalysisStore& store = stats.Store;
    PageWriter page(sink);
    const std::string_view prefix = voice ? "Voice chat - " : "Text chat - ";
    if (!page.Begin(std::string(prefix) + std::string(gameTitle)))
        return page.Finish(true);

    page.Line("<tr>");
    if (flags[0])
        page.Line("<th class='name'>Player</th>");
    if (flags[1])
        page.Line("<th class='name'>Location</th>");
    if (flags[2])
        page.Line("<th class='name'>Text</th>");
    page.Line("</tr>");

    // The stage stays Head while the rows are written: a chat page builds no table first.
    std::string error;
    const bool read = stats.Lines.ForEachChat(
        voice,
        [&](const ChatLine& entry) {
            if (!ChatShown(flags, entry.IsTeam))
                return;
            page.BeginRow();
            if (flags[0])
                page.LineOf("<td class='name'>",
                            ColourToHtml(store.Players[entry.Player].Name, HtmlEscaping::Escape),
                            "</td>");
            if (flags[1])
                page.LineOf("<td class='name'><font color=#FFFF00>", EscapeHtml(entry.Location),
                            "</font></td>");
            if (flags[2]) {
                if (voice)
                    page.LineOf("<td class='name'><font color=#00FFFF>", EscapeHtml(entry.Text),
                                "</font></td>");
                else
                    page.LineOf("<td class='name'>",
                                ColourToHtml((entry.IsTeam ? "^5" : "^2") + std::string(entry.Text),
                                             HtmlEscaping::Escape),
                                "</td>");
            }
            page.EndRow();
        },
        error);
    if (!read)
        return {error}; // the page is not put under its name
    return page.Finish(true);
}

} // namespace

ExportOutcome WriteVoiceChatHtml(const Statistics& stats, const ExportRequest& request,
                                 Sink& sink) {
    return WriteChatHtml(stats, true, sink, request.VoiceChat.Shown, request.GameTitle);
}

ExportOutcome WriteTextChatHtml(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    return WriteChatHtml(stats, false, sink, request.TextChat.Shown, request.GameTitle);
}

ExportOutcome WriteUnknownLinesHtml(const Statistics& stats, const ExportRequest& request,
                                    Sink& sink) {
    // Framed like every page, so the junk page is a complete document of its own.
    const PageFrame frame = BuildPageFrame(request.GameTitle);
    StagedFile file;
    if (!file.Create(sink, kOwnFile))
        return file.Finish();
    file.Line(frame.PageHead);
    file.Line(HeadingHtml("Other (junk) export - " + EscapeHtml(request.Junk.LogDateText)));
    std::string error;
    const bool read = EachUnknownLine(
        stats.Lines, request.Junk.Progress,
        [&](std::string_view line) { file.LineOf(EscapeHtml(line), "<br>"); }, error);
    if (!read)
        return ExportResult{error};
    file.Line(frame.PageFoot);
    return file.Finish();
}

} // namespace qla
