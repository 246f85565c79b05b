// Whether a log read in classic recognition holds lines that full recognition reads otherwise
// (names holding a weapon phrase, the newer death wordings, chat read as obituaries), judged on a
// bounded sample of its lines so that the check costs a small share of the classic run.
#pragma once

#include "core/log_lines.h"
#include "languages/languages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qla {

// How many lines the check reads at most: the first half of them from the log's start, the
// rest in blocks spread evenly over the remainder.
inline constexpr std::size_t kHintSampleLines = 20000;
inline constexpr std::size_t kHintBlockLines = 500;

struct RecognitionHint {
    std::uint64_t LinesChecked = 0;
    std::uint64_t LinesReadOtherwise = 0;
    std::string Example; // the first line read otherwise, as the log holds it
};

// The runs of lines [first, end) that the check reads of a log of `lineCount` lines: the whole
// log when it has no more than `sampleLines`, otherwise the first half of them and evenly spread
// blocks of kHintBlockLines.
std::vector<std::pair<std::size_t, std::size_t>> HintSampleRuns(std::size_t lineCount,
                                                                std::size_t sampleLines);

// Reads the sample in both recognitions and compares each line's kind and the names it files;
// nullopt when every line reads alike (nothing to hint at).
std::optional<RecognitionHint> FindRecognitionHint(const LogLineList& lines, LogLanguage language,
                                                   std::size_t sampleLines = kHintSampleLines);

} // namespace qla
