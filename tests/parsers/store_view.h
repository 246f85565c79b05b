// Small readers over the store that the parser tests share.
#pragma once

#include "core/store.h"

#include <string>

namespace qla::test {

inline std::string KillerName(const AnalysisStore& store, std::size_t event) {
    return store.Players[store.KillEvents[event].Killer].Name;
}

inline std::string VictimName(const AnalysisStore& store, std::size_t event) {
    return store.Players[store.KillEvents[event].Victim].Name;
}

inline const PlayerRecord& PlayerNamed(const AnalysisStore& store, const std::string& name) {
    static const PlayerRecord kMissing{"<missing>"};
    const auto index = store.FindPlayer(name);
    return index ? store.Players[*index] : kMissing;
}

// Sum of every counter of a record: a parser that touched a slot it should not shows here.
inline std::int64_t CounterSum(const PlayerRecord& p) {
    std::int64_t sum = p.Teamkills + p.VoiceChatCount + p.TextChatCount;
    for (auto k : p.Kills) {
        sum += k;
    }
    for (auto d : p.Deaths) {
        sum += d;
    }
    return sum;
}

} // namespace qla::test
