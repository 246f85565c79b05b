// The hint reads the log's first lines again rather than keeping them from the analysis: a
// streamed analysis holds no lines, and kHintSampleLines of them cost a small share of the run.
#include "cli/recognition_hint_note.h"
#include "cli/log_opening.h"
#include "cli/reading_choices.h"

#include "analysis/language_guess.h"
#include "analysis/log_stream.h"
#include "core/control_chars.h"

namespace qla::cli {

std::string RecognitionHintLine(const RecognitionHint& hint) {
    return "qla: " + std::to_string(hint.LinesReadOtherwise) + " of " +
           std::to_string(hint.LinesChecked) +
           " lines checked read otherwise in full recognition (--recognition full), such as: " +
           TerminalSafeText(hint.Example) + "\n";
}

void NoteRecognitionHint(const QString& path, const LanguageChoice& language, std::ostream& err) {
    const LogLineList lines = FirstLogLines(LocalPath(path), kHintSampleLines);
    // The guess reads the same first lines as qla's own guess did, so it comes out the same.
    const LogLanguage read = language.Auto
                                 ? LikelyLogLanguage(WeighLogLanguages(lines, kLinesJudged))
                                 : language.Language;
    if (const auto hint = FindRecognitionHint(lines, read))
        err << RecognitionHintLine(*hint);
}

} // namespace qla::cli
