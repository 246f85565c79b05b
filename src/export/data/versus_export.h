// qla versus's answer for two players, as text for people and as a document of the JSON view
// family ("view": "versus") for programs.
#pragma once

#include "stats/versus.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qla {

// One stretch of the history: a log of a database (its id and date), or the whole log read.
struct VersusPeriod {
    std::optional<std::int64_t> LogId;
    std::optional<std::string> Date; // "YYYY-MM-DD HH:MM:SS", or the log's date header
    VersusCounts Counts;
};

struct VersusAnswer {
    PlayerIndex Player = 0, Other = 0;
    VersusCounts Total;
    // Nullopt when the weapons cannot be told; WeaponsNote then says why.
    std::optional<std::vector<WeaponVersus>> Weapons;
    std::string WeaponsNote;
    std::vector<VersusPeriod> Periods; // in date order
    VersusChance Chance;
};

// "Label: value" lines, then the weapons and the periods as tab-separated tables.
std::string VersusText(const AnalysisStore& store, const VersusAnswer& answer);

// The JSON document, ending with a line end.
std::string VersusJson(const AnalysisStore& store, const VersusAnswer& answer);

} // namespace qla
