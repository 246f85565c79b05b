// One walk over a log's lines in order: each line is classified once, its totals raised, and it
// goes to its parser. The whole-log run, each range of a parallel run and the streaming run all
// record lines through it, so they count alike.
#pragma once

#include "analysis/analysis.h"
#include "parsers/full_recognizer.h"

#include <optional>
#include <string_view>
#include <vector>

namespace qla {

class LineWalk {
  public:
    // Lines past the parts' sum take the last part's language and recognition.
    LineWalk(AnalysisStore& store, const std::vector<LogPart>& parts);

    void Line(std::string_view line);

    const AnalysisTotals& Totals() const { return totals_; }
    std::uint64_t LinesWalked() const { return walked_; }

  private:
    void StartPart(const LogPart& part);

    AnalysisStore& store_;
    const std::vector<LogPart>& parts_;
    std::size_t part_ = 0;
    std::uint64_t partStart_ = 0; // the first line of the part being walked
    std::uint64_t partEnd_ = 0;
    const LanguageRoutines* routines_ = nullptr;
    Recognition recognition_ = Recognition::Classic;
    std::optional<FullRecognizer> full_;
    AnalysisTotals totals_;
    std::uint64_t walked_ = 0;
};

// Adds the totals of later lines to `into`.
void AddTotals(AnalysisTotals& into, const AnalysisTotals& later);

} // namespace qla
