// Cut obituary names matched to the whole names that chat lines carry.
#include "obituary_names.h"

#include "core/byte_search.h"
#include "core/names.h"
#include "core/text.h"

namespace qla {

namespace {

// The name as the game cut it: without the blanks around it and the one "^7" it appended.
std::string_view CutPart(std::string_view raw) {
    const auto first = raw.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    raw = raw.substr(first, raw.find_last_not_of(' ') - first + 1);
    if (EndsWithBytes(raw, "^7"))
        raw.remove_suffix(2);
    return raw;
}

} // namespace

PlayerIndex ObituaryNames::Find(AnalysisStore& store, std::string_view raw) {
    const std::string_view cut = CutPart(raw);
    if (CharCount(cut) != kCutLength)
        return store.FindOrAddPlayer(raw);
    const std::string_view start = NormalizeName(cut);
    if (start.empty())
        return store.FindOrAddPlayer(raw);

    const auto [entry, isNew] = resolved_.try_emplace(std::string(start));
    if (isNew)
        store.CutObituaryNames.push_back(entry->first);
    Resolved& resolved = entry->second;
    // A store that tracks holders answers with the name's holding at this line.
    const auto current = [&store](PlayerIndex player) {
        if (!store.TracksHolders)
            return player;
        const std::string name = store.Players[static_cast<std::size_t>(player)].Name;
        return store.FindOrAddNamedPlayer(name);
    };
    // The record the cut name stands for, told to a store that keeps what lines name.
    const auto read = [&store, raw](PlayerIndex player) {
        if (store.ReadTexts)
            store.ReadTexts->push_back({raw, player, true});
        return player;
    };
    if (resolved.Player != 0 && resolved.PlayerCount == store.PlayerCount())
        return read(current(resolved.Player));
    // Players are only ever added, so the answer changes only when the count does.
    PlayerIndex match = 0;
    int matches = 0;
    for (PlayerIndex p = 1; p <= store.PlayerCount() && matches < 2; ++p) {
        const std::string& name = store.Players[p].Name;
        // Holders of one name (a store that tracks them) are one name here.
        if (name.size() > start.size() && StartsWithBytes(name, start) &&
            (match == 0 || name != store.Players[match].Name)) {
            match = p;
            ++matches;
        }
    }
    resolved.Player = matches == 1 ? current(match) : store.FindOrAddPlayer(raw);
    resolved.PlayerCount = store.PlayerCount();
    return read(resolved.Player);
}

} // namespace qla
