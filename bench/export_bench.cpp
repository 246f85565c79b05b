// Export All Data for a store of 20,000 players: 40,011 files written into a fresh folder.
#include "core/store.h"
#include "core/weapons.h"
#include "export/export_all.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

// Built through the store's operations, deterministically: five kills per player spread over all
// weapons, one teamkill and one suicide per ten players.
qla::AnalysisStore BigStore(int players) {
    qla::AnalysisStore store;
    for (int i = 1; i <= players; ++i)
        store.FindOrAddPlayer("^" + std::to_string(i % 10) + "Player<" + std::to_string(i) + ">");
    for (int i = 1; i <= players; ++i) {
        for (int k = 1; k <= 5; ++k) {
            const int victim = 1 + (i * 7 + k * 13) % players;
            const qla::WeaponId weapon = 1 + (i + k) % 15;
            store.RecordKill(i, victim, weapon, qla::WeaponDisplayName(weapon));
        }
        if (i % 10 == 0) {
            store.RecordTeamkill(i, 1 + (i * 3) % players);
            store.RecordSuicide(i, qla::kFirstSuicideCause + i % 7);
        }
    }
    return store;
}

void BM_ExportAllData(benchmark::State& state) {
    const qla::AnalysisStore store = BigStore(static_cast<int>(state.range(0)));
    const auto folder = std::filesystem::temp_directory_path() / "qla_export_bench";
    qla::ExportAllSettings settings;
    settings.GameTitle = "^1Bench ^7Cup";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        state.ResumeTiming();
        const qla::ExportAllResult result = qla::ExportAllData(store, folder.string(), settings);
        if (!result.Ok())
            state.SkipWithError("export failed");
    }
    state.counters["files"] = static_cast<double>(qla::CountExportAllFiles(store));
    std::filesystem::remove_all(folder);
}

BENCHMARK(BM_ExportAllData)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
