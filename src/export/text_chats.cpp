// Text exports of the log's lines: voice chat, text chat, "Logfile Junk"; and the preview of the
// text options dialog.
#include "core/control_chars.h"
#include "core/names.h"
#include "core/text.h"
#include "export/output_file.h"
#include "export/text_export.h"
#include "export/text_join.h"

#include <vector>

namespace qla {

namespace {

ExportResult WriteChatText(const AnalysisStore& store, const std::vector<ChatEntry>& chats,
                           const std::string& path, const ChatFlags& flags,
                           const TextExportOptions& options) {
    // The chat exports report stage 0 throughout.
    StagedFile file;
    if (!file.Create(path, store.LogFileIdentity))
        return file.Finish();
    const std::array<bool, 3> columns{flags[0], flags[1], flags[2]};
    file.Line(JoinColumns<3>(columns, {"Player", "Location", "Text"}, options.Separator));
    std::string name, location, text; // the texts when they hold control characters
    for (const ChatEntry& entry : RealEntries(chats)) {
        if (!(entry.IsTeam ? flags[3] : flags[4]))
            continue;
        WriteUnlessBlank(
            file, JoinColumns<3>(columns,
                                 {WithoutControlChars(store.Players[entry.Player].Name, name),
                                  WithoutControlChars(store.LocationOf(entry), location),
                                  WithoutControlChars(entry.Text, text)},
                                 options.Separator));
    }
    return file.Finish();
}

} // namespace

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

ExportResult WriteVoiceChatText(const AnalysisStore& store, const std::string& path,
                                const ChatFlags& flags, const TextExportOptions& options) {
    return WriteChatText(store, store.VoiceChats, path, flags, options);
}

ExportResult WriteTextChatText(const AnalysisStore& store, const std::string& path,
                               const ChatFlags& flags, const TextExportOptions& options) {
    return WriteChatText(store, store.TextChats, path, flags, options);
}

ExportResult WriteUnknownLinesText(const AnalysisStore& store, const std::string& path,
                                   const LineProgress& progress) {
    StagedFile file;
    if (!file.Create(path, store.LogFileIdentity))
        return file.Finish();
    const auto count = static_cast<std::int64_t>(store.UnknownLines.size()) - 1;
    std::string replaced;
    for (const std::size_t position : EntryIndexes(store.UnknownLines)) {
        file.Line(WithoutControlChars(store.UnknownLines[position], replaced));
        const auto i = static_cast<std::int64_t>(position);
        if (progress && (i % kLineProgressStride == 0 || i == count))
            progress(i, count);
    }
    return file.Finish();
}

} // namespace qla
