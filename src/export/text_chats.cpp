// Text exports of the log's lines: voice chat, text chat, "Logfile Junk"; and the preview of the
// text options dialog.
#include "core/control_chars.h"
#include "core/names.h"
#include "core/text.h"
#include "export/export_request.h"
#include "export/output_file.h"
#include "export/text_export.h"
#include "export/text_join.h"
#include "export/unknown_line_walk.h"
#include "stats/statistics.h"

#include <vector>

namespace qla {

void WriteUnlessBlank(StagedFile& file, std::string_view row) {
    if (!TrimSpaces(row).empty())
        file.Line(row);
}

std::string PreviewText(const TextExportOptions& options) {
    const std::string& s = options.Separator;
    std::string preview;
    if (options.IncludeHeader)
        preview += "Header1" + s + "Header2" + s + "Header3\r\n";
    const std::string name = options.RemoveColors ? "ColorName" : "^7Color^1Name";
    for (int k = 1; k <= 5; ++k) {
        const std::string number = std::to_string(k);
        preview += name + s + number + s + name + number + "-3\r\n";
    }
    return preview;
}

namespace {

ExportResult WriteChatText(const Statistics& stats, bool voice, Sink& sink, const ChatFlags& flags,
                           const TextExportOptions& options) {
    const AnalysisStore& store = stats.Store;
    // The chat exports report stage 0 throughout.
    StagedFile file;
    if (!file.Create(sink, kOwnFile))
        return file.Finish();
    const std::array<bool, 3> columns{flags[0], flags[1], flags[2]};
    file.Line(JoinColumns<3>(columns, {"Player", "Location", "Text"}, options.Separator));
    std::string name, location, text; // the texts when they hold control characters
    std::string error;
    const bool read = stats.Lines.ForEachChat(
        voice,
        [&](const ChatLine& entry) {
            if (!ChatShown(flags, entry.IsTeam))
                return;
            WriteUnlessBlank(
                file, JoinColumns<3>(columns,
                                     {WithoutControlChars(store.Players[entry.Player].Name, name),
                                      WithoutControlChars(entry.Location, location),
                                      WithoutControlChars(entry.Text, text)},
                                     options.Separator));
        },
        error);
    if (!read)
        return {error}; // the file is not put under its name
    return file.Finish();
}

} // namespace

ExportOutcome WriteVoiceChatText(const Statistics& stats, const ExportRequest& request,
                                 Sink& sink) {
    return WriteChatText(stats, true, sink, request.VoiceChat.Shown, request.Text);
}

ExportOutcome WriteTextChatText(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    return WriteChatText(stats, false, sink, request.TextChat.Shown, request.Text);
}

ExportOutcome WriteUnknownLinesText(const Statistics& stats, const ExportRequest& request,
                                    Sink& sink) {
    StagedFile file;
    if (!file.Create(sink, kOwnFile))
        return file.Finish();
    std::string replaced, error;
    const bool read = EachUnknownLine(
        stats.Lines, request.Junk.Progress,
        [&](std::string_view line) { file.Line(WithoutControlChars(line, replaced)); }, error);
    if (!read)
        return ExportResult{error};
    return file.Finish();
}

} // namespace qla
