// Joining the hidden records into one, after the store's players were merged.
#include "analysis/hidden_players.h"

#include "core/names.h"

#include <algorithm>
#include <unordered_set>

namespace qla {

namespace {

bool HoldsHiddenName(const std::vector<std::string>& names,
                     const std::unordered_set<std::string>& hidden) {
    for (const std::string& name : names)
        if (hidden.contains(IdentityKey(name)))
            return true;
    return false;
}

// The unknown lines that name a hidden player are kept again with the text in their place.
void HideUnknownLines(AnalysisStore& store, const std::vector<std::string>& hiddenKeys) {
    const auto lines = RealEntries(store.UnknownLines);
    if (std::none_of(lines.begin(), lines.end(),
                     [&](std::string_view line) { return NamesHiddenPlayer(line, hiddenKeys); }))
        return;
    std::vector<std::string> shown;
    shown.reserve(lines.size());
    for (const std::string_view line : lines)
        shown.emplace_back(NamesHiddenPlayer(line, hiddenKeys) ? kHiddenLineText : line);
    store.UnknownLines.resize(1);
    for (const std::string& line : shown)
        store.RecordUnknownLine(line);
}

} // namespace

bool NamesHiddenPlayer(std::string_view text, const std::vector<std::string>& hiddenKeys) {
    if (hiddenKeys.empty())
        return false;
    const std::string folded = IdentityKey(text);
    return std::any_of(hiddenKeys.begin(), hiddenKeys.end(), [&](const std::string& key) {
        return !key.empty() && folded.find(key) != std::string::npos;
    });
}

void HidePlayers(AnalysisStore& store, const std::vector<std::string>& hiddenKeys,
                 MergedNames* merged) {
    if (hiddenKeys.empty())
        return;
    HideUnknownLines(store, hiddenKeys);
    const std::unordered_set<std::string> hidden(hiddenKeys.begin(), hiddenKeys.end());
    std::vector<PlayerIndex> groupOf(store.Players.size(), 0);
    std::vector<std::string> names{std::string()};
    std::vector<PlayerIndex> hiddenRecords;
    for (const PlayerIndex p : store.PlayerIndexes()) {
        const std::string& name = store.Players[static_cast<std::size_t>(p)].Name;
        const bool hides = merged ? HoldsHiddenName(merged->NamesOf(p), hidden)
                                  : hidden.contains(IdentityKey(name));
        if (hides) {
            hiddenRecords.push_back(p);
            continue;
        }
        groupOf[static_cast<std::size_t>(p)] = static_cast<PlayerIndex>(names.size());
        names.push_back(name);
    }
    if (hiddenRecords.empty())
        return;
    const auto hiddenGroup = static_cast<PlayerIndex>(names.size());
    names.emplace_back(kHiddenPlayerName);
    for (const PlayerIndex p : hiddenRecords)
        groupOf[static_cast<std::size_t>(p)] = hiddenGroup;
    store.MergePlayers(groupOf, names);
    store.HideLastPlayer();
    if (!merged)
        return;
    // The merged names follow the records; the hidden record tells none of its names.
    std::vector<std::vector<std::string>> namesOf(names.size());
    for (std::size_t p = 1; p < groupOf.size(); ++p)
        if (groupOf[p] != hiddenGroup)
            namesOf[static_cast<std::size_t>(groupOf[p])] = std::move(merged->names_[p]);
    namesOf.back() = {std::string(kHiddenPlayerName)};
    merged->names_ = std::move(namesOf);
    for (auto* records : {&merged->recordOf_, &merged->recordOfKey_})
        for (auto& [name, record] : *records)
            record = groupOf[static_cast<std::size_t>(record)];
}

} // namespace qla
