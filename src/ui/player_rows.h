// The player table's rows: one per player of the analysed store, with the numbers the table
// shows and sorts by, worked out once when the table is filled.
#pragma once

#include "core/store.h"
#include "stats/skill_rating.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace qla::ui {

struct PlayerRow {
    PlayerIndex Player = 0;
    std::string Name;    // as stored, with its colour codes (the delegate draws them)
    QString VisibleName; // without colour codes
    QString SearchKey;   // PlayerSearchKey of the name
    // The row's place when ordered by name: visible names compared with case ignored, ties by
    // the visible name's exact text, then by the stored name. Equal places: equal names.
    std::uint32_t NamePlace = 0;
    std::int64_t Kills = 0;
    std::int64_t Deaths = 0; // killed by others and suicides, as the exports count
    std::int64_t RatioHundredths = 0;
    std::int64_t Teamkills = 0;
    std::int64_t Suicides = 0; // deaths by a suicide cause (not teamkills)
    std::int64_t Chats = 0;    // voice and text chats
    // The skill rating fitted to the kills between players (skill_rating.h), in whole points,
    // its uncertainty and the kills either way it rests on.
    std::int64_t Rating = 0;
    std::int64_t RatingUncertainty = 0;
    std::int64_t Encounters = 0;
    bool RatingKnown = false; // the rating's fit is done
};

// Every real player of `store`, in the store's order.
std::vector<PlayerRow> BuildPlayerRows(const AnalysisStore& store);
// The same without the ratings, which take the longest (a fit over every pair that met): the
// window shows these at once and the ratings when their fit is done.
std::vector<PlayerRow> BuildPlayerRowsWithoutRatings(const AnalysisStore& store);
// Gives each row its player's rating from `fit` (FitSkill of the store's EncountersOf).
void SetRatings(std::vector<PlayerRow>& rows, const std::vector<SkillRating>& fit);

} // namespace qla::ui
