// The recognition hint on standard error: after a single log was read in classic recognition
// that was not asked for, one line saying how many of its sampled lines full recognition reads
// otherwise, with the first of them.
#pragma once

#include "analysis/recognition_hint.h"
#include "cli/reading_choices.h"

#include <QString>

#include <ostream>
#include <string>

namespace qla::cli {

// The hint as qla prints it, newline included; the example made safe for a terminal.
std::string RecognitionHintLine(const RecognitionHint& hint);

// Checks the first lines of the log at `path`, read in `language` (auto: the language they are
// written in, as qla chose it), and prints the hint line to err when there is one.
void NoteRecognitionHint(const QString& path, const LanguageChoice& language, std::ostream& err);

} // namespace qla::cli
