// The ways other tools rate players, rebuilt so that qla rating-check can hold our fitted rating
// against them on the same kills: the kill/death ratio, a sequential Elo and Glicko-1 with one
// rating period per log. Each trains on the kills of a run of logs and then gives the chance
// that one player, not the other, makes the kill between them.
#pragma once

#include <cstdint>
#include <vector>

namespace qla {

// The kills of one killer on one victim (two different players) in a log, counted once.
struct Duel {
    std::uint32_t Killer = 0, Victim = 0;
    std::uint32_t Count = 1;
};
// A log's duels in the order their first kill happened.
using DuelLog = std::vector<Duel>;

// r = (kills + 1) / (deaths + 1) per player over the logs; 1 for a player never seen.
std::vector<double> KillDeathRatios(const std::vector<DuelLog>& logs, std::size_t playerCount);
// The chance that the player of ratio `a` kills the one of ratio `b`: a / (a + b).
double KillDeathChance(double a, double b);

struct EloOptions {
    double Start = 1500;
    double Scale = 400; // points for ten-to-one odds
    double EarlyK = 16; // for a player's first EarlyEvents kills and deaths
    double LateK = 4;
    int EarlyEvents = 50;
};
// Elo updated kill by kill, in the logs' order and the duels' order, each duel's kills one after
// the other; both players move by their own K after each kill.
std::vector<double> SequentialElo(const std::vector<DuelLog>& logs, std::size_t playerCount,
                                  const EloOptions& options = {});
double EloChance(double a, double b, double scale = 400);

struct GlickoRating {
    double Rating = 1500;
    double Deviation = 350;
};
struct GlickoOptions {
    double Start = 1500;
    double StartDeviation = 350;
    // How far a deviation grows per period: 50 grows back to 350 in 100 periods.
    double C = 34.6;
};
// Glicko-1 with every log one rating period: at the start of a period every player rated before
// has his deviation grown by C (at most to the start's), then each player of the period moves on
// all his kills and deaths against the others' ratings from before it.
std::vector<GlickoRating> GlickoByPeriod(const std::vector<DuelLog>& logs, std::size_t playerCount,
                                         const GlickoOptions& options = {});
// One period on without games: the deviation grown by C.
GlickoRating GlickoAfterPeriod(const GlickoRating& rating, const GlickoOptions& options = {});
// Glicko-1's expected score of `a` against `b`, both deviations counted.
double GlickoChance(const GlickoRating& a, const GlickoRating& b);

} // namespace qla
