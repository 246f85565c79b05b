// The dashboard's data as one JSON document: settings, totals, players with their opponents,
// top lists, weapons, the parse coverage and, from a database, each player's history.
#include "core/weapons.h"
#include "export/dashboard/dashboard_export.h"
#include "export/dashboard/site_layout.h"
#include "export/data/data_export.h"
#include "export/data/json_views.h"
#include "export/sink.h"
#include "stats/detail_tables.h"

#include <optional>

namespace qla {
namespace {

// The text written so far goes into the file a piece (kFilePieceBytes) at a time.
class PiecesOfFile {
  public:
    explicit PiecesOfFile(SinkFile& file) : file_(file) { text_.reserve(kFilePieceBytes + 4096); }
    std::string& Text() { return text_; }
    // Hands the text over once it is a piece's worth (`last`: whatever there is).
    void Spill(bool last = false) {
        if (text_.size() < kFilePieceBytes && !last)
            return;
        if (written_)
            written_ = file_.Write(text_);
        text_.clear();
    }
    bool Written() const { return written_; }

  private:
    SinkFile& file_;
    std::string text_;
    bool written_ = true;
};

void WriteIndexList(JsonWriter& json, std::string_view key, const std::vector<PlayerIndex>& list) {
    json.Key(key);
    json.BeginArray();
    for (const PlayerIndex p : list)
        json.Number(p);
    json.EndArray();
}

void WritePlayers(JsonWriter& json, PiecesOfFile& pieces, const AnalysisStore& store,
                  const DashboardModel& model, JsonPlayerDetails details, const SiteLayout* site,
                  const KillEventIndex& events) {
    json.Key("players");
    json.BeginArray();
    for (const PlayerSummary& p : model.Players) {
        const PlayerRecord& record = store.Players[p.Index];
        json.BeginObject();
        json.Field("id", p.Index);
        if (site != nullptr && site->HasPage(p.Index))
            json.Field("page", site->PlayerPagePath(p.Index));
        WritePlayerName(json, store, p.Index);
        json.Field("kills", p.Kills);
        json.Field("deaths", p.Deaths);
        json.Key("ratio");
        json.Hundredths(p.RatioHundredths);
        json.Field("teamkills", p.Teamkills);
        json.Field("suicides", p.Suicides);
        json.Field("rating", p.Rating);
        json.Field("ratingUncertainty", p.RatingUncertainty);
        json.Field("encounters", p.Encounters);
        json.Field("voiceChats", p.VoiceChats);
        json.Field("textChats", p.TextChats);
        if (details == JsonPlayerDetails::OwnPages && !p.OwnPage) {
            json.EndObject();
            pieces.Spill();
            continue;
        }
        json.Key("weapons");
        json.BeginArray();
        for (WeaponId w = 1; w <= kWeaponUnknown; ++w) {
            if (record.Kills[w] == 0 && record.Deaths[w] == 0)
                continue;
            json.BeginObject();
            json.Field("weapon", WeaponDisplayName(w));
            json.Field("kills", record.Kills[w]);
            json.Field("deaths", record.Deaths[w]);
            json.EndObject();
        }
        json.EndArray();
        const std::vector<OpponentSummary> opponents = OpponentsOf(store, events, p.Index);
        json.Field("nemesis", static_cast<std::int64_t>(Nemesis(opponents)));
        json.Field("favouriteVictim", static_cast<std::int64_t>(FavouriteVictim(opponents)));
        json.Key("opponents");
        json.BeginArray();
        for (const OpponentSummary& o : opponents) {
            json.BeginObject();
            json.Field("id", o.Opponent);
            json.Field("kills", o.Kills);
            json.Field("deaths", o.Deaths);
            json.EndObject();
        }
        json.EndArray();
        if (const PlayerHistory* history = model.HistoryOf(p.Index)) {
            json.Key("history");
            json.BeginArray();
            for (const PlayerLogFigures& log : history->Logs) {
                json.BeginObject();
                json.Field("log", log.LogLabel);
                json.Field("date", log.DateKey);
                json.Field("kills", log.Kills);
                json.Field("deaths", log.Deaths);
                json.Field("teamkills", log.Teamkills);
                json.EndObject();
            }
            json.EndArray();
        }
        json.EndObject();
        pieces.Spill();
    }
    json.EndArray();
}

} // namespace

bool WriteDashboardJsonText(SinkFile& file, const AnalysisStore& store, const DashboardModel& model,
                            const DashboardSettings& settings, JsonPlayerDetails details,
                            const SiteLayout* site, const KillEventIndex* index) {
    PiecesOfFile pieces(file);
    std::string& text = pieces.Text();
    JsonWriter json(text);
    BeginJsonDocument(json, "dashboard");
    json.Key("source");
    json.BeginObject();
    json.Field("gameTitle", settings.GameTitle);
    json.Field(settings.FromDatabase ? "database" : "log", settings.SourceName);
    json.Field("logDate", settings.LogDate);
    json.Field("logs", settings.LogCount);
    if (settings.FromDatabase) {
        json.Field("firstLogDate", settings.Period.First);
        json.Field("lastLogDate", settings.Period.Last);
        json.Field("undatedLogs", settings.Period.UndatedLogs);
    }
    json.Field("madeOn", settings.MadeOn);
    json.Field("minKills", settings.MinKills);
    json.Field("minDeaths", settings.MinDeaths);
    json.EndObject();
    const AnalysisTotals& t = model.Totals;
    json.Key("totals");
    json.BeginObject();
    json.Field("players", static_cast<std::int64_t>(model.Players.size()));
    json.Field("kills", t.Kills);
    json.Field("deaths", t.Deaths);
    json.Field("teamkills", t.Teamkills);
    json.Field("voiceChats", t.VoiceChats);
    json.Field("textChats", t.TextChats);
    json.Field("unknown", t.Unknown);
    json.Field("lines", t.Total);
    json.EndObject();
    json.Key("top");
    json.BeginObject();
    WriteIndexList(json, "mostKills", model.MostKills);
    WriteIndexList(json, "bestRatio", model.BestRatio);
    WriteIndexList(json, "bestRated", model.BestRated);
    WriteIndexList(json, "mostTeamkills", model.MostTeamkills);
    // Only where the overview shows them.
    const auto writeBoard = [&](std::string_view nameKey, const KillBoard& board) {
        json.BeginObject();
        json.Field(nameKey, board.Name);
        json.Key("players");
        json.BeginArray();
        for (const auto& [player, kills] : board.MostKills) {
            json.BeginObject();
            json.Field("id", player);
            json.Field("kills", kills);
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    };
    if (model.WeekBoard) {
        json.Key("mostKillsLatestWeek");
        writeBoard("week", *model.WeekBoard);
    }
    if (model.MonthBoard) {
        json.Key("mostKillsLatestMonth");
        writeBoard("month", *model.MonthBoard);
    }
    if (!model.ServerBoards.empty()) {
        json.Key("mostKillsByServer");
        json.BeginArray();
        for (const KillBoard& board : model.ServerBoards)
            writeBoard("server", board);
        json.EndArray();
    }
    json.EndObject();
    std::optional<KillEventIndex> own;
    if (index == nullptr)
        index = &own.emplace(store);
    WritePlayers(json, pieces, store, model, details, site, *index);
    json.Key("weapons");
    json.BeginArray();
    for (const WeaponSummary& w : model.Weapons) {
        json.BeginObject();
        json.Field("weapon", WeaponDisplayName(w.Weapon));
        json.Field("kills", w.Kills);
        json.Field("sharePercent", w.SharePercent);
        json.Field("best", static_cast<std::int64_t>(w.Best));
        json.Field("bestKills", w.BestKills);
        json.Field("worst", static_cast<std::int64_t>(w.Worst));
        json.Field("worstDeaths", w.WorstDeaths);
        json.EndObject();
    }
    json.EndArray();
    json.Key("coverage");
    json.BeginObject();
    json.Field("lines", model.Coverage.Lines);
    json.Key("byKind");
    json.BeginObject();
    for (std::size_t k = 0; k < kLineKindCount; ++k)
        json.Field(LineKindText(static_cast<LineKind>(k)), model.Coverage.ByKind[k]);
    json.EndObject();
    if (settings.HeldBackBytes)
        json.Field("heldBackBytes", *settings.HeldBackBytes);
    json.Field("otherLines", model.Coverage.UnknownLines);
    json.Key("otherSamples");
    json.BeginArray();
    for (const std::string_view line : model.Coverage.UnknownLineSamples)
        json.String(line);
    json.EndArray();
    json.EndObject();
    json.EndObject();
    text += '\n';
    pieces.Spill(true);
    return pieces.Written();
}

} // namespace qla
