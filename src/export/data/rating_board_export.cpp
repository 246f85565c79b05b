#include "export/data/rating_board_export.h"

#include "analysis/analysis.h"
#include "core/names.h"
#include "export/data/json_text.h"
#include "export/data/json_views.h"

#include <cmath>

namespace qla {

std::string RatingBoardJson(const AnalysisStore& store, const std::vector<RatingBoardRow>& board,
                            double minEncounters, std::optional<double> halfLifeDays) {
    std::string text;
    JsonWriter json(text);
    BeginJsonDocument(json, "ratings");
    json.Field("minEncounters", static_cast<std::int64_t>(std::llround(minEncounters)));
    json.Key("halfLifeDays");
    if (halfLifeDays)
        json.Real(*halfLifeDays);
    else
        json.Null();
    json.Key("players");
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
    json.EndObject();
    text += '\n';
    return text;
}

std::string RatingBoardCsv(const AnalysisStore& store, const std::vector<RatingBoardRow>& board,
                           const CsvOptions& options) {
    std::string text = CsvRow({"rank", "name", "visible_name", "rating", "uncertainty",
                               "conservative", "encounters", "kills", "deaths", "teamkills"},
                              options) +
                       "\r\n";
    for (std::size_t rank = 0; rank < board.size(); ++rank) {
        const RatingShown points = ShownRating(board[rank].Rating);
        const PlayerRecord& player = store.Players[static_cast<std::size_t>(board[rank].Player)];
        const PlayerTotals totals = TotalsOfPlayer(player);
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
    return text;
}

} // namespace qla
