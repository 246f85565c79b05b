// The pages of log lines: voice chat, text chat and the "Logfile Junk" page.
#include "core/names.h"
#include "export/colour_html.h"
#include "export/html_export.h"
#include "export/page_writer.h"

#include <vector>

namespace qla {

namespace {

enum class ChatKind { Voice, Text };

ExportResult WriteChatHtml(const AnalysisStore& store, const std::vector<ChatEntry>& chats,
                           ChatKind kind, const std::string& path, const ChatFlags& flags,
                           std::string_view gameTitle) {
    PageWriter page(path, store.LogFileIdentity);
    const std::string_view prefix = kind == ChatKind::Voice ? "Voice chat - " : "Text chat - ";
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
    for (const ChatEntry& entry : RealEntries(chats)) {
        if (!(entry.IsTeam ? flags[3] : flags[4]))
            continue;
        page.BeginRow();
        if (flags[0])
            page.LineOf("<td class='name'>",
                        ColourToHtml(store.Players[entry.Player].Name, HtmlEscaping::Escape),
                        "</td>");
        if (flags[1])
            page.LineOf("<td class='name'><font color=#FFFF00>",
                        EscapeHtml(store.LocationOf(entry)), "</font></td>");
        if (flags[2]) {
            if (kind == ChatKind::Voice)
                page.LineOf("<td class='name'><font color=#00FFFF>", EscapeHtml(entry.Text),
                            "</font></td>");
            else
                page.LineOf("<td class='name'>",
                            ColourToHtml((entry.IsTeam ? "^5" : "^2") + std::string(entry.Text),
                                         HtmlEscaping::Escape),
                            "</td>");
        }
        page.EndRow();
    }
    return page.Finish(true);
}

} // namespace

ExportResult WriteVoiceChatHtml(const AnalysisStore& store, const std::string& path,
                                const ChatFlags& flags, std::string_view gameTitle) {
    return WriteChatHtml(store, store.VoiceChats, ChatKind::Voice, path, flags, gameTitle);
}

ExportResult WriteTextChatHtml(const AnalysisStore& store, const std::string& path,
                               const ChatFlags& flags, std::string_view gameTitle) {
    return WriteChatHtml(store, store.TextChats, ChatKind::Text, path, flags, gameTitle);
}

ExportResult WriteUnknownLinesHtml(const AnalysisStore& store, const std::string& path,
                                   std::string_view gameTitle, std::string_view logDateText,
                                   const LineProgress& progress) {
    // Framed like every page, so the junk page is a complete document of its own.
    const PageFrame frame = BuildPageFrame(gameTitle);
    StagedFile file;
    if (!file.Create(path, store.LogFileIdentity))
        return file.Finish();
    file.Line(frame.PageHead);
    file.Line(HeadingHtml("Other (junk) export - " + EscapeHtml(logDateText)));
    const auto count = static_cast<std::int64_t>(store.UnknownLines.size()) - 1;
    for (const std::size_t position : EntryIndexes(store.UnknownLines)) {
        file.LineOf(EscapeHtml(store.UnknownLines[position]), "<br>");
        const auto i = static_cast<std::int64_t>(position);
        if (progress && (i % kLineProgressStride == 0 || i == count))
            progress(i, count);
    }
    file.Line(frame.PageFoot);
    return file.Finish();
}

} // namespace qla
