#include "export/data/awards_export.h"

#include "core/control_chars.h"
#include "core/names.h"
#include "export/data/json_text.h"
#include "export/data/json_views.h"
#include "stats/ratio.h"

namespace qla {
namespace {

std::string Safe(const std::string& text) {
    return TerminalSafeText(text);
}

void JsonName(JsonWriter& json, std::string_view key, const std::string& name) {
    json.Key(key);
    if (name.empty()) {
        json.Null();
        return;
    }
    json.BeginObject();
    json.Field("name", name);
    json.Field("visibleName", StripColourCodes(name));
    json.EndObject();
}

void JsonValue(JsonWriter& json, AwardId id, std::int64_t value) {
    json.Key("value");
    if (id == AwardId::BestRatio)
        json.Hundredths(value);
    else
        json.Number(value);
}

void JsonRecordValue(JsonWriter& json, const AwardRecord& record) {
    json.Key("value");
    if (record.Key == "best_ratio_in_session")
        json.Hundredths(record.Value);
    else
        json.Number(record.Value);
}

} // namespace

std::string RecordValueText(const AwardRecord& record) {
    return record.Key == "best_ratio_in_session" ? RatioText(record.Value, ".")
                                                 : std::to_string(record.Value);
}

std::string AwardValueText(AwardId id, std::int64_t value) {
    if (id == AwardId::BestRatio)
        return RatioText(value, ".");
    if (id == AwardId::BestRatingGain)
        return (value > 0 ? "+" : "") + std::to_string(value);
    return std::to_string(value);
}

std::string AwardsText(const AwardsReport& report) {
    std::string out = "period\taward\tplayer\tother\tsubject\tvalue\n";
    for (const AwardPeriodResult& period : report.Periods) {
        for (const AwardResult& award : period.Awards) {
            const std::string head = Safe(period.Key) + "\t" + std::string(RuleOf(award.Id).Title);
            if (!award.Known) {
                out += head + "\t-\t-\t-\t" + kStreakNotStored + "\n";
                continue;
            }
            if (award.Entries.empty())
                out += head + "\tnobody\t-\t-\t-\n";
            for (const AwardEntry& entry : award.Entries)
                out += head + "\t" + Safe(entry.Player) + "\t" +
                       (entry.Other.empty() ? "-" : Safe(entry.Other)) + "\t" +
                       (entry.Subject.empty() ? "-" : Safe(entry.Subject)) + "\t" +
                       (award.Id == AwardId::FirstBlood ? "-"
                                                        : AwardValueText(award.Id, entry.Value)) +
                       "\n";
        }
    }
    out += "\nrecord\tplayer\tvalue\tkills\tdeaths\tlog\tdate\n";
    for (const AwardRecord& record : report.Records) {
        out += std::string(record.Title) + "\t";
        if (!record.Known)
            out += std::string("-\t") + kStreakNotStored + "\t-\t-\t-\t-\n";
        else if (!record.Held)
            out += "nobody\t-\t-\t-\t-\t-\n";
        else
            out += Safe(record.Player) + "\t" + RecordValueText(record) + "\t" +
                   std::to_string(record.Kills) + "\t" + std::to_string(record.Deaths) + "\t" +
                   Safe(record.Log) + "\t" + (record.Date.empty() ? "-" : record.Date) + "\n";
    }
    if (!report.StreaksKnown)
        out += std::string("\nnote: ") + kStreaksNotStored + "\n";
    return out;
}

std::string AwardsJson(const AwardsReport& report) {
    std::string text;
    JsonWriter json(text);
    BeginJsonDocument(json, "awards");
    json.Field("period", AwardPeriodName(report.Kind));
    json.Field("streaksKnown", report.StreaksKnown);
    json.Key("rules");
    json.BeginArray();
    for (const AwardRule& rule : AwardRules()) {
        json.BeginObject();
        json.Field("award", rule.Key);
        json.Field("title", rule.Title);
        json.Field("measures", rule.Measures);
        json.Field("minimum", rule.Minimum);
        json.Field("ties", rule.TieRule);
        json.EndObject();
    }
    json.EndArray();
    json.Key("periods");
    json.BeginArray();
    for (const AwardPeriodResult& period : report.Periods) {
        json.BeginObject();
        json.Field("key", period.Key);
        json.Key("firstDate");
        if (period.First.empty())
            json.Null();
        else
            json.String(period.First);
        json.Field("logs", static_cast<std::int64_t>(period.LogCount));
        json.Key("awards");
        json.BeginArray();
        for (const AwardResult& award : period.Awards) {
            json.BeginObject();
            json.Field("award", RuleOf(award.Id).Key);
            json.Field("known", award.Known);
            json.Key("winners");
            json.BeginArray();
            for (const AwardEntry& entry : award.Entries) {
                json.BeginObject();
                JsonName(json, "player", entry.Player);
                JsonName(json, "other", entry.Other);
                json.Key("subject");
                if (entry.Subject.empty())
                    json.Null();
                else
                    json.String(entry.Subject);
                JsonValue(json, award.Id, entry.Value);
                json.EndObject();
            }
            json.EndArray();
            json.EndObject();
        }
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.Key("records");
    json.BeginArray();
    for (const AwardRecord& record : report.Records) {
        json.BeginObject();
        json.Field("record", record.Key);
        json.Field("title", record.Title);
        json.Field("known", record.Known);
        JsonName(json, "player", record.Held ? record.Player : std::string());
        JsonRecordValue(json, record);
        json.Field("kills", record.Kills);
        json.Field("deaths", record.Deaths);
        json.Key("log");
        if (record.Held)
            json.String(record.Log);
        else
            json.Null();
        json.Key("date");
        if (record.Date.empty())
            json.Null();
        else
            json.String(record.Date);
        json.EndObject();
    }
    json.EndArray();
    if (!report.StreaksKnown)
        json.Field("note", kStreaksNotStored);
    json.EndObject();
    text += '\n';
    return text;
}

std::string AwardsCsv(const AwardsReport& report, const CsvOptions& options) {
    std::string text =
        CsvRow({"section", "period", "award", "name", "visible_name", "other", "visible_other",
                "subject", "value", "kills", "deaths", "log", "date", "note"},
               options) +
        "\r\n";
    const auto row = [&](std::initializer_list<std::string_view> fields, std::size_t numberAt) {
        std::size_t at = 0;
        for (const std::string_view field : fields) {
            if (at > 0)
                text += options.Separator;
            // Numbers are never guarded: a rating gain of "-3" is a number.
            if (at == numberAt && !field.empty())
                AppendCsvNumber(text, field, options);
            else
                AppendCsvField(text, field, options);
            ++at;
        }
        text += "\r\n";
    };
    constexpr std::size_t kValueColumn = 8;
    for (const AwardPeriodResult& period : report.Periods) {
        for (const AwardResult& award : period.Awards) {
            const std::string_view key = RuleOf(award.Id).Key;
            if (!award.Known)
                row({"award", period.Key, key, "", "", "", "", "", "", "", "", "", "",
                     kStreaksNotStored},
                    kValueColumn);
            for (const AwardEntry& entry : award.Entries) {
                const std::string value =
                    award.Id == AwardId::FirstBlood ? "" : AwardValueText(award.Id, entry.Value);
                row({"award", period.Key, key, entry.Player, StripColourCodes(entry.Player),
                     entry.Other, StripColourCodes(entry.Other), entry.Subject, value, "", "", "",
                     "", ""},
                    kValueColumn);
            }
        }
    }
    for (const AwardRecord& record : report.Records) {
        if (!record.Known) {
            row({"record", "", record.Key, "", "", "", "", "", "", "", "", "", "",
                 kStreaksNotStored},
                kValueColumn);
            continue;
        }
        if (!record.Held)
            continue;
        const std::string kills = std::to_string(record.Kills),
                          deaths = std::to_string(record.Deaths);
        row({"record", "", record.Key, record.Player, StripColourCodes(record.Player), "", "", "",
             RecordValueText(record), kills, deaths, record.Log, record.Date, ""},
            kValueColumn);
    }
    return text;
}

} // namespace qla
