// Building every player's six detail tables and the weapon table for a large generated store.
#include "core/weapons.h"
#include "stats/detail_tables.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

constexpr int kPlayers = 20000;
constexpr int kKillEvents = 200000;

// A fixed linear congruential sequence keeps the store the same on every run.
class Sequence {
  public:
    std::uint32_t Next(std::uint32_t bound) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state_ >> 33) % bound;
    }

  private:
    std::uint64_t state_ = 0x5eed;
};

const qla::AnalysisStore& LargeStore() {
    static const qla::AnalysisStore store = [] {
        static constexpr std::string_view kWeapons[] = {
            "Knife", "MP40", "Thompson", "Sten", "Grenade", "Panzerfaust", "unknown", "Teamkill"};
        qla::AnalysisStore s;
        for (int i = 1; i <= kPlayers; ++i)
            s.FindOrAddPlayer((i % 7 == 0 ? "^1" : "") + std::string("player") + std::to_string(i));
        Sequence random;
        s.KillEvents.reserve(kKillEvents + 1);
        for (int e = 0; e < kKillEvents; ++e) {
            const auto killer = static_cast<qla::PlayerIndex>(random.Next(kPlayers) + 1);
            const auto victim = static_cast<qla::PlayerIndex>(random.Next(kPlayers) + 1);
            const std::string_view weapon = kWeapons[random.Next(std::size(kWeapons))];
            if (weapon == "Teamkill") {
                s.RecordTeamkill(killer, victim);
                continue;
            }
            s.RecordKill(killer, victim, qla::WeaponIdFromName(weapon), weapon);
            if (e % 50 == 0) // now and then a self kill
                s.RecordSuicide(victim, qla::kFirstSuicideCause + e % 7);
        }
        return s;
    }();
    return store;
}

void BM_AllPlayerTablesAndWeaponTable(benchmark::State& state) {
    const qla::AnalysisStore& store = LargeStore();
    const auto key = static_cast<int>(state.range(0));
    const auto detailOrder = static_cast<qla::PlayerDetailOrder>(key);
    const auto weaponOrder = static_cast<qla::WeaponOrder>(key);
    for (auto _ : state) {
        const qla::KillEventIndex index(store);
        std::size_t rows = 0;
        for (const qla::PlayerIndex p : store.PlayerIndexes()) {
            rows += qla::BuildKillsTable(store, index, p, detailOrder).size();
            rows += qla::BuildDeathsTable(store, index, p, detailOrder).size();
            rows += qla::BuildSelfKillsTable(store, p, detailOrder).size();
            rows += qla::BuildTeamkillsTable(store, index, p, detailOrder).size();
            rows += qla::BuildTeamdeathsTable(store, index, p, detailOrder).size();
            rows += qla::BuildUsedWeaponsTable(store, p, detailOrder).size();
        }
        rows += qla::BuildWeaponTable(store, weaponOrder).size();
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_AllPlayerTablesAndWeaponTable)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_StandardOrderByName(benchmark::State& state) {
    const qla::AnalysisStore& store = LargeStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            qla::BuildStandardOrder(store, qla::StandardOrder::PlayerName).size());
}
BENCHMARK(BM_StandardOrderByName)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
