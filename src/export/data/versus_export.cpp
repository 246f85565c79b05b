#include "export/data/versus_export.h"

#include "core/control_chars.h"
#include "core/names.h"
#include "export/data/json_text.h"
#include "export/data/json_views.h"

#include <cmath>
#include <cstdio>

namespace qla {
namespace {

std::string ShownName(const AnalysisStore& store, PlayerIndex player) {
    return TerminalSafeText(StripColourCodes(store.Players[static_cast<std::size_t>(player)].Name));
}

std::string RatingLine(const AnalysisStore& store, PlayerIndex player,
                       const std::optional<SkillRating>& rating) {
    if (!rating && PassesThrough(store, player))
        return "none (a name many people pass through is not rated)";
    if (!rating)
        return "none (no kills between players)";
    const RatingShown shown = ShownRating(*rating);
    return std::to_string(shown.Rating) + " +/- " + std::to_string(shown.Uncertainty) + " (" +
           std::to_string(shown.Encounters) + " encounters)";
}

// 0.5734 -> "57.3%".
std::string Percent(double chance) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%%", chance * 100.0);
    return text;
}

void WriteCounts(JsonWriter& json, const VersusCounts& counts) {
    json.Field("kills", counts.Kills);
    json.Field("deaths", counts.Deaths);
    json.Field("encounters", counts.EitherWay());
}

void WriteRating(JsonWriter& json, std::string_view key, const std::optional<SkillRating>& rating) {
    json.Key(key);
    if (!rating) {
        json.Null();
        return;
    }
    const RatingShown shown = ShownRating(*rating);
    json.BeginObject();
    json.Field("rating", static_cast<std::int64_t>(shown.Rating));
    json.Field("uncertainty", static_cast<std::int64_t>(shown.Uncertainty));
    json.Field("encounters", static_cast<std::int64_t>(shown.Encounters));
    json.EndObject();
}

} // namespace

std::string VersusText(const AnalysisStore& store, const VersusAnswer& answer) {
    const std::string player = ShownName(store, answer.Player);
    const std::string other = ShownName(store, answer.Other);
    std::string text = "Player: " + player + "\nOpponent: " + other + "\n";
    text += "Kills: " + std::to_string(answer.Total.Kills) + "\n";
    text += "Deaths: " + std::to_string(answer.Total.Deaths) + "\n";
    text += "Encounters: " + std::to_string(answer.Total.EitherWay()) + "\n";
    text +=
        "Rating of the player: " + RatingLine(store, answer.Player, answer.Chance.Player) + "\n";
    text +=
        "Rating of the opponent: " + RatingLine(store, answer.Other, answer.Chance.Other) + "\n";
    text += "Chance the player wins an encounter: ";
    if (answer.Chance.PlayerWins)
        text += Percent(*answer.Chance.PlayerWins) + "\n";
    else
        text +=
            std::string("none: ") + (answer.Chance.Player ? other : player) + " has no rating\n";
    text += "\nweapon\tkills\tdeaths\n";
    if (answer.Weapons)
        for (const WeaponVersus& weapon : *answer.Weapons)
            text += std::string(kEventWeaponTexts[weapon.WeaponText]) + "\t" +
                    std::to_string(weapon.Counts.Kills) + "\t" +
                    std::to_string(weapon.Counts.Deaths) + "\n";
    else
        text += "# weapons not shown: " + TerminalSafeText(answer.WeaponsNote) + "\n";
    text += "\nlog\tdate\tkills\tdeaths\n";
    for (const VersusPeriod& period : answer.Periods)
        text += (period.LogId ? std::to_string(*period.LogId) : std::string("-")) + "\t" +
                TerminalSafeText(period.Date.value_or("-")) + "\t" +
                std::to_string(period.Counts.Kills) + "\t" + std::to_string(period.Counts.Deaths) +
                "\n";
    return text;
}

std::string VersusJson(const AnalysisStore& store, const VersusAnswer& answer) {
    std::string text;
    JsonWriter json(text);
    BeginJsonDocument(json, "versus");
    for (const auto& [key, player] :
         {std::pair{"player", answer.Player}, std::pair{"opponent", answer.Other}}) {
        json.Key(key);
        json.BeginObject();
        WritePlayerName(json, store, player);
        json.EndObject();
    }
    WriteCounts(json, answer.Total);
    WriteRating(json, "playerRating", answer.Chance.Player);
    WriteRating(json, "opponentRating", answer.Chance.Other);
    json.Key("playerWinsChance");
    if (answer.Chance.PlayerWins)
        json.Real(*answer.Chance.PlayerWins);
    else
        json.Null();
    json.Key("weapons");
    if (answer.Weapons) {
        json.BeginArray();
        for (const WeaponVersus& weapon : *answer.Weapons) {
            json.BeginObject();
            json.Field("weapon", kEventWeaponTexts[weapon.WeaponText]);
            WriteCounts(json, weapon.Counts);
            json.EndObject();
        }
        json.EndArray();
    } else {
        json.Null();
    }
    json.Key("weaponsNote");
    if (answer.Weapons)
        json.Null();
    else
        json.String(answer.WeaponsNote);
    json.Key("logs");
    json.BeginArray();
    for (const VersusPeriod& period : answer.Periods) {
        json.BeginObject();
        json.Key("logId");
        if (period.LogId)
            json.Number(*period.LogId);
        else
            json.Null();
        json.Key("date");
        if (period.Date)
            json.String(*period.Date);
        else
            json.Null();
        WriteCounts(json, period.Counts);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    text += '\n';
    return text;
}

} // namespace qla
