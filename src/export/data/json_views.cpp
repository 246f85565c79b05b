// JSON documents of the standard, player, weapon, chat and junk views.
#include "export/data/json_views.h"

#include "core/names.h"
#include "export/data/data_export.h"
#include "export/data/view_rows.h"
#include "export/export_request.h"
#include "export/output_file.h"
#include "stats/statistics.h"

#include <cerrno>

namespace qla {

void WritePlayerName(JsonWriter& json, const AnalysisStore& store, PlayerIndex player) {
    const std::string& name = store.Players[static_cast<std::size_t>(player)].Name;
    json.Field("name", name);
    json.Field("visibleName", StripColourCodes(name));
}

void BeginJsonDocument(JsonWriter& json, std::string_view view) {
    json.BeginObject();
    json.Field("format", kJsonSchemaName);
    json.Field("version", kJsonSchemaVersion);
    json.Field("view", view);
}

void WriteStandardMembers(JsonWriter& json, const AnalysisStore& store, StandardOrder order,
                          bool ascending) {
    json.Key("players");
    json.BeginArray();
    for (const StandardRow& row : StandardRows(store, order, ascending)) {
        json.BeginObject();
        json.Field("name", row.Name);
        json.Field("visibleName", StripColourCodes(row.Name));
        json.Field("kills", row.Kills);
        json.Field("deaths", row.Deaths);
        json.Key("ratio");
        json.Hundredths(row.RatioHundredths);
        json.Field("teamkills", row.Teamkills);
        json.EndObject();
    }
    json.EndArray();
}

void WriteWeaponMembers(JsonWriter& json, const AnalysisStore& store, WeaponOrder order,
                        bool ascending) {
    const auto best = [&](std::string_view key, PlayerIndex player, std::int64_t count) {
        json.Key(key);
        if (player == 0) {
            json.Null();
            return;
        }
        json.BeginObject();
        WritePlayerName(json, store, player);
        json.Field("count", count);
        json.EndObject();
    };
    json.Key("weapons");
    json.BeginArray();
    for (const WeaponRow& row : WeaponRows(store, order, ascending)) {
        json.BeginObject();
        json.Field("weapon", row.Weapon);
        json.Field("kills", row.Kills);
        json.Field("sharePercent", row.SharePercent);
        best("mostKillsBy", row.MostKillsBy, row.MostKills);
        best("mostDeathsBy", row.MostDeathsBy, row.MostDeaths);
        json.EndObject();
    }
    json.EndArray();
}

void WriteChatMembers(JsonWriter& json, const AnalysisStore& store,
                      const std::vector<ChatEntry>& chats) {
    json.Key("messages");
    json.BeginArray();
    for (const ChatEntry& entry : RealEntries(chats)) {
        json.BeginObject();
        WritePlayerName(json, store, entry.Player);
        json.Field("location", store.LocationOf(entry));
        json.Field("team", entry.IsTeam);
        json.Field("text", entry.Text);
        json.EndObject();
    }
    json.EndArray();
}

namespace {

ExportResult Finish(std::string& text, JsonWriter& json, Sink& sink) {
    json.EndObject();
    text += '\n';
    return WriteWholeFile(sink, kOwnFile, text);
}

void WriteOrder(JsonWriter& json, int key, bool ascending) {
    json.Key("order");
    json.BeginObject();
    json.Field("key", key);
    json.Field("ascending", ascending);
    json.EndObject();
}

} // namespace

ExportOutcome WriteStandardJson(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    const StandardOrder order = request.Standard.Order;
    const bool ascending = request.Standard.Ascending;
    std::string text;
    JsonWriter json(text);
    BeginJsonDocument(json, "standard");
    WriteOrder(json, static_cast<int>(order), ascending);
    WriteStandardMembers(json, stats.Store, order, ascending);
    return Finish(text, json, sink);
}

ExportOutcome WritePlayerDetailsJson(const Statistics& stats, const ExportRequest& request,
                                     Sink& sink) {
    const AnalysisStore& store = stats.Store;
    const PlayerDetailOrder order = request.PlayerDetails.Order;
    const bool ascending = request.PlayerDetails.Ascending;
    const PlayerIndex player = request.PlayerDetails.Player;
    if (player < 1 || player > store.PlayerCount())
        return Failure(EINVAL, 0);
    std::string text;
    JsonWriter json(text);
    BeginJsonDocument(json, "player");
    WriteOrder(json, static_cast<int>(order), ascending);
    const PlayerRecord& record = store.Players[static_cast<std::size_t>(player)];
    json.Key("player");
    json.BeginObject();
    WritePlayerName(json, store, player);
    json.Field("kills", record.Kills[0]);
    json.Field("deaths", record.Deaths[0]);
    json.Field("teamkills", record.Teamkills);
    json.Field("voiceChats", record.VoiceChatCount);
    json.Field("textChats", record.TextChatCount);
    json.EndObject();
    const auto sections = PlayerSectionRows(store, player, order, ascending);
    json.Key("sections");
    json.BeginObject();
    for (std::size_t s = 0; s < sections.size(); ++s) {
        const bool byWeapon = s == 2 || s == 5; // self kills and used weapons name a weapon
        json.Key(kSectionKeys[s]);
        json.BeginArray();
        for (const SectionRow& row : sections[s]) {
            json.BeginObject();
            if (byWeapon) {
                json.Field("weapon", row.Item);
            } else {
                json.Field("name", row.Item);
                json.Field("visibleName", StripColourCodes(row.Item));
            }
            json.Field("count", row.Count);
            json.EndObject();
        }
        json.EndArray();
    }
    json.EndObject();
    return Finish(text, json, sink);
}

ExportOutcome WriteWeaponJson(const Statistics& stats, const ExportRequest& request, Sink& sink) {
    const WeaponOrder order = request.Weapons.Order;
    const bool ascending = request.Weapons.Ascending;
    std::string text;
    JsonWriter json(text);
    BeginJsonDocument(json, "weapons");
    WriteOrder(json, static_cast<int>(order), ascending);
    WriteWeaponMembers(json, stats.Store, order, ascending);
    return Finish(text, json, sink);
}

namespace {

// A document of many rows, written out as it grows rather than made whole first.
class StreamedJson {
  public:
    StreamedJson(Sink& sink, std::string_view view) : json_(text_) {
        file_.Create(sink, kOwnFile);
        BeginJsonDocument(json_, view);
    }
    JsonWriter& Json() { return json_; }
    // Passes what is made on to the file once it is large enough.
    void Row() {
        if (text_.size() >= kFlushBytes) {
            file_.Bytes(text_);
            text_.clear();
        }
    }
    // Ends the document's array of rows, or reports why its rows could not be read (the
    // file is then not put under its name).
    ExportResult FinishRows(bool read, const std::string& error) {
        if (!read)
            return {error};
        json_.EndArray();
        return Finish();
    }
    ExportResult Finish() {
        json_.EndObject();
        text_ += '\n';
        file_.Bytes(text_);
        return file_.Finish();
    }

  private:
    static constexpr std::size_t kFlushBytes = 1 << 16;
    std::string text_;
    JsonWriter json_;
    StagedFile file_;
};

ExportResult WriteChatJson(const Statistics& stats, bool voice, Sink& sink) {
    const AnalysisStore& store = stats.Store;
    StreamedJson document(sink, voice ? "voice" : "text");
    JsonWriter& json = document.Json();
    json.Key("messages");
    json.BeginArray();
    std::string error;
    const bool read = stats.Lines.ForEachChat(
        voice,
        [&](const ChatLine& entry) {
            json.BeginObject();
            WritePlayerName(json, store, entry.Player);
            json.Field("location", entry.Location);
            json.Field("team", entry.IsTeam);
            json.Field("text", entry.Text);
            json.EndObject();
            document.Row();
        },
        error);
    return document.FinishRows(read, error);
}

} // namespace

ExportOutcome WriteVoiceChatJson(const Statistics& stats, const ExportRequest&, Sink& sink) {
    return WriteChatJson(stats, true, sink);
}

ExportOutcome WriteTextChatJson(const Statistics& stats, const ExportRequest&, Sink& sink) {
    return WriteChatJson(stats, false, sink);
}

ExportOutcome WriteUnknownLinesJson(const Statistics& stats, const ExportRequest&, Sink& sink) {
    StreamedJson document(sink, "junk");
    JsonWriter& json = document.Json();
    json.Key("lines");
    json.BeginArray();
    std::string error;
    const bool read = stats.Lines.ForEachUnknownLine(
        [&](std::string_view line) {
            json.String(line);
            document.Row();
        },
        error);
    return document.FinishRows(read, error);
}

} // namespace qla
