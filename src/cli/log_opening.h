// Opening a log named on the command line and analysing it into a store.
#pragma once

#include "cli/reading_choices.h"

#include <QString>

#include <optional>
#include <ostream>
#include <string>

namespace qla::cli {

// The path as the file system spells it.
std::string LocalPath(const QString& path);

struct AnalysedLog {
    AnalysisTotals Totals;
    std::optional<std::string> DateText; // as OpenLogResult::DateText
};

// Reads and analyses the log in blocks on `threads` threads (0: every core), holding only what
// the store keeps; nullopt after printing the reason when it cannot be read.
std::optional<AnalysedLog> OpenAndAnalyze(AnalysisStore& store, const QString& path,
                                          const LanguageChoice& language, std::ostream& err,
                                          Recognition recognition = Recognition::Classic,
                                          unsigned threads = 0);

} // namespace qla::cli
