// The pages of log lines: voice chat, text chat and the "Logfile Junk" page.
#include "core/names.h"
#include "export/colour_html.h"
#include "export/html_export.h"
#include "export/page_writer.h"
#include "export/unknown_line_walk.h"
#include "stats/statistics.h"

#include <vector>

namespace qla {

ExportResult WriteChatHtml(const Statistics& stats, bool voice, const std::string& path,
                           const ChatFlags& flags, std::string_view gameTitle) {
    const AnalysisStore& store = stats.Store;
    PageWriter page(path, store.LogFileIdentity);
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

ExportResult WriteVoiceChatHtml(const AnalysisStore& store, const std::string& path,
                                const ChatFlags& flags, std::string_view gameTitle) {
    return WriteChatHtml({store, StoreLines(store)}, true, path, flags, gameTitle);
}

ExportResult WriteTextChatHtml(const AnalysisStore& store, const std::string& path,
                               const ChatFlags& flags, std::string_view gameTitle) {
    return WriteChatHtml({store, StoreLines(store)}, false, path, flags, gameTitle);
}

ExportResult WriteUnknownLinesHtml(const Statistics& stats, const std::string& path,
                                   std::string_view gameTitle, std::string_view logDateText,
                                   const LineProgress& progress) {
    // Framed like every page, so the junk page is a complete document of its own.
    const PageFrame frame = BuildPageFrame(gameTitle);
    StagedFile file;
    if (!file.Create(path, stats.Store.LogFileIdentity))
        return file.Finish();
    file.Line(frame.PageHead);
    file.Line(HeadingHtml("Other (junk) export - " + EscapeHtml(logDateText)));
    std::string error;
    const bool read = EachUnknownLine(
        stats.Lines, progress,
        [&](std::string_view line) { file.LineOf(EscapeHtml(line), "<br>"); }, error);
    if (!read)
        return {error};
    file.Line(frame.PageFoot);
    return file.Finish();
}

ExportResult WriteUnknownLinesHtml(const AnalysisStore& store, const std::string& path,
                                   std::string_view gameTitle, std::string_view logDateText,
                                   const LineProgress& progress) {
    return WriteUnknownLinesHtml({store, StoreLines(store)}, path, gameTitle, logDateText,
                                 progress);
}

} // namespace qla
