// The views in SQL both engines accept. Sums are cast to BIGINT, which PostgreSQL would
// otherwise widen to NUMERIC. A player's place in a log (log_player_weapons.player,
// log_encounters.killer and victim) is log_players.first_seen, which gives his exact name.
#include "db/public_views.h"

#include <QSqlError>
#include <QSqlQuery>

namespace qla::db {
namespace {

struct View {
    const char* Name;
    const char* Select;
};

// Suicides are the deaths no other player caused: codes 16-22 and 24-31 (core/weapons.h).
// Teamdeaths are the deaths by a teammate's hand, code 23; `deaths` does not count them.
// In the order they are created: log_player_totals before the view that reads it.
constexpr View kViews[] = {
    {"log_player_totals",
     "SELECT p.log_id, p.name, p.kills, p.deaths,"
     " CAST(COALESCE(SUM(CASE WHEN w.weapon BETWEEN 16 AND 22 OR w.weapon BETWEEN 24 AND 31"
     " THEN w.deaths END), 0) AS BIGINT) AS suicides,"
     " p.teamkills,"
     " CAST(COALESCE(SUM(CASE WHEN w.weapon = 23 THEN w.deaths END), 0) AS BIGINT)"
     " AS teamdeaths,"
     " p.voice_chats, p.text_chats"
     " FROM log_players p"
     " LEFT JOIN log_player_weapons w ON w.log_id = p.log_id AND w.player = p.first_seen"
     " GROUP BY p.log_id, p.name, p.kills, p.deaths, p.teamkills, p.voice_chats, p.text_chats"},

    {"player_totals",
     "SELECT name, CAST(COUNT(*) AS BIGINT) AS logs,"
     " CAST(SUM(kills) AS BIGINT) AS kills, CAST(SUM(deaths) AS BIGINT) AS deaths,"
     " CAST(SUM(suicides) AS BIGINT) AS suicides, CAST(SUM(teamkills) AS BIGINT) AS teamkills,"
     " CAST(SUM(teamdeaths) AS BIGINT) AS teamdeaths,"
     " CAST(SUM(voice_chats) AS BIGINT) AS voice_chats,"
     " CAST(SUM(text_chats) AS BIGINT) AS text_chats"
     " FROM log_player_totals GROUP BY name"},

    {"player_weapons",
     "SELECT p.name, w.weapon, w.weapon_name,"
     " CAST(SUM(w.kills) AS BIGINT) AS kills, CAST(SUM(w.deaths) AS BIGINT) AS deaths"
     " FROM log_player_weapons w"
     " JOIN log_players p ON p.log_id = w.log_id AND p.first_seen = w.player"
     " GROUP BY p.name, w.weapon, w.weapon_name"},

    {"head_to_head",
     "SELECT k.name AS killer, v.name AS victim,"
     " CAST(SUM(e.kills) AS BIGINT) AS kills, CAST(SUM(e.teamkills) AS BIGINT) AS teamkills"
     " FROM log_encounters e"
     " JOIN log_players k ON k.log_id = e.log_id AND k.first_seen = e.killer"
     " JOIN log_players v ON v.log_id = e.log_id AND v.first_seen = e.victim"
     " GROUP BY k.name, v.name"},
};

} // namespace

bool CreatePublicViews(QSqlDatabase& connection, std::string& error) {
    QSqlQuery query(connection);
    const auto fail = [&] {
        error = "cannot create the views: " + query.lastError().text().toStdString();
        return false;
    };
    // Dropped in reverse, so no view is dropped while another still reads it.
    for (auto view = std::rbegin(kViews); view != std::rend(kViews); ++view)
        if (!query.exec(QStringLiteral("DROP VIEW IF EXISTS %1").arg(QLatin1String(view->Name))))
            return fail();
    for (const View& view : kViews)
        if (!query.exec(QStringLiteral("CREATE VIEW %1 AS %2")
                            .arg(QLatin1String(view.Name), QLatin1String(view.Select))))
            return fail();
    return true;
}

} // namespace qla::db
