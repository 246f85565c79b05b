#include "export/data/rating_board_export.h"

#include "analysis/analysis.h"
#include "core/names.h"
#include "export/data/json_text.h"
#include "export/data/json_views.h"

#include <cmath>

namespace qla {

namespace {

// The document's head: the view, the board's minimum and the half-life.
void BeginRatingsDocument(JsonWriter& json, double minEncounters,
                          std::optional<double> halfLifeDays) {
    BeginJsonDocument(json, "ratings");
    json.Field("minEncounters", static_cast<std::int64_t>(std::llround(minEncounters)));
    json.Key("halfLifeDays");
    if (halfLifeDays)
        json.Real(*halfLifeDays);
    else
        json.Null();
}

void WriteBoardPlayers(JsonWriter& json, const AnalysisStore& store,
                       const std::vector<RatingBoardRow>& board) {
    json.BeginArray();
    for (std::size_t rank = 0; rank < board.size(); ++rank) {
        const RatingShown points = ShownRating(board[rank].Rating);
        const PlayerTotals totals =
            TotalsOfPlayer(store.Players[static_cast<std::size_t>(board[rank].Player)]);
        json.BeginObject();
        json.Field("rank", static_cast<std::int64_t>(rank + 1));
        WritePlayerName(json, store, board[rank].Player);
        json.Field("rating", static_cast<std::int64_t>(points.Rating));
        json.Field("uncertainty", static_cast<std::int64_t>(points.Uncertainty));
        json.Field("conservative", static_cast<std::int64_t>(points.Conservative));
        json.Field("encounters", static_cast<std::int64_t>(points.Encounters));
        json.Field("kills", totals.Kills);
        json.Field("deaths", totals.Deaths);
        json.Field("teamkills", totals.Teamkills);
        json.EndObject();
    }
    json.EndArray();
}

// The header row; `withPeriod` puts the period's column first.
std::string BoardCsvHeader(bool withPeriod, const CsvOptions& options) {
    const std::string row = CsvRow({"rank", "name", "visible_name", "rating", "uncertainty",
                                    "conservative", "encounters", "kills", "deaths", "teamkills"},
                                   options);
    return (withPeriod ? CsvRow({"period"}, options) + options.Separator : std::string()) + row +
           "\r\n";
}

// A row per player; `period`, when given, first on each.
void AppendBoardCsvRows(std::string& text, const AnalysisStore& store,
                        const std::vector<RatingBoardRow>& board, const CsvOptions& options,
                        const std::string* period) {
    for (std::size_t rank = 0; rank < board.size(); ++rank) {
        const RatingShown points = ShownRating(board[rank].Rating);
        const PlayerRecord& player = store.Players[static_cast<std::size_t>(board[rank].Player)];
        const PlayerTotals totals = TotalsOfPlayer(player);
        if (period) {
            AppendCsvField(text, *period, options);
            text += options.Separator;
        }
        AppendCsvNumber(text, std::to_string(rank + 1), options);
        for (const std::string& name : {player.Name, StripColourCodes(player.Name)}) {
            text += options.Separator;
            AppendCsvField(text, name, options);
        }
        for (const long long number :
             {static_cast<long long>(points.Rating), static_cast<long long>(points.Uncertainty),
              static_cast<long long>(points.Conservative), points.Encounters,
              static_cast<long long>(totals.Kills), static_cast<long long>(totals.Deaths),
              static_cast<long long>(totals.Teamkills)}) {
            text += options.Separator;
            AppendCsvNumber(text, std::to_string(number), options);
        }
        text += "\r\n";
    }
}

} // namespace

std::string RatingBoardJson(const AnalysisStore& store, const std::vector<RatingBoardRow>& board,
                            double minEncounters, std::optional<double> halfLifeDays) {
    std::string text;
    JsonWriter json(text);
    BeginRatingsDocument(json, minEncounters, halfLifeDays);
    json.Key("players");
    WriteBoardPlayers(json, store, board);
    json.EndObject();
    text += '\n';
    return text;
}

std::string RatingBoardCsv(const AnalysisStore& store, const std::vector<RatingBoardRow>& board,
                           const CsvOptions& options) {
    std::string text = BoardCsvHeader(false, options);
    AppendBoardCsvRows(text, store, board, options, nullptr);
    return text;
}

RatingPeriodsDocument::RatingPeriodsDocument(std::string format, std::string_view period,
                                             double minEncounters,
                                             std::optional<double> halfLifeDays, CsvOptions csv)
    : format_(std::move(format)), csv_(std::move(csv)) {
    if (format_ == "csv") {
        text_ = BoardCsvHeader(true, csv_);
        return;
    }
    BeginRatingsDocument(json_, minEncounters, halfLifeDays);
    json_.Field("period", period);
    json_.Key("periods");
    json_.BeginArray();
}

void RatingPeriodsDocument::Add(const std::string& key, const std::string& first, std::size_t logs,
                                const AnalysisStore& store,
                                const std::vector<RatingBoardRow>& board) {
    if (format_ == "csv") {
        AppendBoardCsvRows(text_, store, board, csv_, &key);
        return;
    }
    json_.BeginObject();
    json_.Field("key", key);
    json_.Key("first");
    if (first.empty())
        json_.Null();
    else
        json_.String(first);
    json_.Field("logs", static_cast<std::int64_t>(logs));
    json_.Key("players");
    WriteBoardPlayers(json_, store, board);
    json_.EndObject();
}

std::string RatingPeriodsDocument::Finish() {
    if (format_ != "csv") {
        json_.EndArray();
        json_.EndObject();
        text_ += '\n';
    }
    return std::move(text_);
}

} // namespace qla
