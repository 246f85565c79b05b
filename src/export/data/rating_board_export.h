// The skill board as JSON and CSV documents, with the points the text board shows: 1500 the
// middle, 400 points for ten-to-one odds, rounded to whole points.
#pragma once

#include "export/data/csv_text.h"
#include "export/data/json_text.h"
#include "stats/rating_board.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

// A document of the JSON view family ("view": "ratings"), ending with a line end.
std::string RatingBoardJson(const AnalysisStore& store, const std::vector<RatingBoardRow>& board,
                            double minEncounters, std::optional<double> halfLifeDays);

// A header row and a row per player, each ended by CR LF as the CSV views end theirs.
std::string RatingBoardCsv(const AnalysisStore& store, const std::vector<RatingBoardRow>& board,
                           const CsvOptions& options);

// The boards of several periods (qla ratings --period), each fitted to its own logs: one document
// or table, built a period at a time, each board with its period's store (whose kills, deaths and
// teamkills it shows).
class RatingPeriodsDocument {
  public:
    // `format` is "json" or "csv"; `period` names the kind of period ("week").
    RatingPeriodsDocument(std::string format, std::string_view period, double minEncounters,
                          std::optional<double> halfLifeDays, CsvOptions csv = {});

    void Add(const std::string& key, const std::string& first, std::size_t logs,
             const AnalysisStore& store, const std::vector<RatingBoardRow>& board);
    // The whole text, ended by a line end.
    std::string Finish();

  private:
    std::string format_;
    CsvOptions csv_;
    std::string text_;
    JsonWriter json_{text_};
};

} // namespace qla
