// Builds the player table's rows from the analysed store.
#include "ui/player_rows.h"

#include "core/names.h"
#include "stats/ratio.h"
#include "stats/skill_rating.h"
#include "ui/player_search_key.h"

#include <algorithm>
#include <numeric>

namespace qla::ui {

namespace {

std::int64_t SuicidesOf(const PlayerRecord& player) {
    std::int64_t suicides = 0;
    for (WeaponId cause = kFirstSuicideCause; cause <= kLastFullCause; ++cause)
        if (cause != kWeaponTeamkill)
            suicides += player.Deaths[static_cast<std::size_t>(cause)];
    return suicides;
}

// Numbers the rows' NamePlace; sorting once here lets every later name sort compare numbers.
void NumberNamePlaces(std::vector<PlayerRow>& rows) {
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto compare = [&](std::size_t a, std::size_t b) {
        const PlayerRow& x = rows[a];
        const PlayerRow& y = rows[b];
        if (const int folded = QString::compare(x.VisibleName, y.VisibleName, Qt::CaseInsensitive))
            return folded;
        if (const int exact = QString::compare(x.VisibleName, y.VisibleName))
            return exact;
        return x.Name.compare(y.Name);
    };
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return compare(a, b) < 0; });
    std::uint32_t place = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && compare(order[i - 1], order[i]) != 0)
            ++place;
        rows[order[i]].NamePlace = place;
    }
}

} // namespace

std::vector<PlayerRow> BuildPlayerRowsWithoutRatings(const AnalysisStore& store) {
    std::vector<PlayerRow> rows;
    rows.reserve(static_cast<std::size_t>(std::max(store.PlayerCount(), 0)));
    for (const PlayerIndex index : store.PlayerIndexes()) {
        const PlayerRecord& player = store.Players[static_cast<std::size_t>(index)];
        PlayerRow row;
        row.Player = index;
        row.Name = player.Name;
        row.VisibleName = QString::fromStdString(StripColourCodes(player.Name));
        row.SearchKey = PlayerSearchKey(std::string_view(player.Name));
        row.Kills = player.Kills[kWeaponTotal];
        row.Deaths = player.Deaths[kWeaponTotal];
        row.RatioHundredths = KillDeathRatio(row.Kills, row.Deaths);
        row.Teamkills = player.Teamkills;
        row.Suicides = SuicidesOf(player);
        row.Chats = player.VoiceChatCount + player.TextChatCount;
        rows.push_back(std::move(row));
    }
    NumberNamePlaces(rows);
    return rows;
}

void SetRatings(std::vector<PlayerRow>& rows, const std::vector<SkillRating>& fit) {
    for (PlayerRow& row : rows) {
        // Player p of the fit is the store's player p + 1.
        if (const auto at = static_cast<std::size_t>(row.Player - 1); at < fit.size()) {
            const RatingShown shown = ShownRating(fit[at]);
            row.Rating = shown.Rating;
            row.RatingUncertainty = shown.Uncertainty;
            row.Encounters = shown.Encounters;
        }
        row.RatingKnown = true;
    }
}

std::vector<PlayerRow> BuildPlayerRows(const AnalysisStore& store) {
    std::vector<PlayerRow> rows = BuildPlayerRowsWithoutRatings(store);
    SetRatings(rows, FitSkill(EncountersOf(store)));
    return rows;
}

} // namespace qla::ui
