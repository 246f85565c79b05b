// Suggesting joins: each player's names are reduced to base names, and players sharing a base
// name are suggested to the first player with it (one suggestion each, not every pair).
#include "analysis/alias_suggestions.h"

#include "analysis/player_identity.h"
#include "core/names.h"
#include "core/text.h"

#include <algorithm>
#include <map>
#include <set>

namespace qla {

namespace {

constexpr std::string_view kSeparators = " \t-_.|:=~*";
constexpr std::int64_t kShortestBase = 3;

std::string_view TrimSeparators(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kSeparators);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kSeparators) - first + 1);
}

char ClosingOf(char open) {
    switch (open) {
    case '[':
        return ']';
    case '(':
        return ')';
    case '{':
        return '}';
    case '<':
        return '>';
    default:
        return 0;
    }
}

constexpr unsigned kTag = 1, kNumber = 2, kRename = 4; // reasons, as bits

// 1203 as "1,203".
std::string GroupedThousands(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, 1, ',');
    return digits;
}

std::string ReasonText(unsigned reasons) {
    if ((reasons & kTag) && (reasons & kNumber))
        return "same name apart from a clan tag and a trailing number";
    if (reasons & kTag)
        return "same name apart from a clan tag";
    return "same name apart from a trailing number";
}

} // namespace

std::string WithoutClanTags(std::string_view key) {
    std::string out;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char close = ClosingOf(key[i]);
        const std::size_t end = close ? key.find(close, i + 1) : std::string_view::npos;
        if (end == std::string_view::npos) {
            out.push_back(key[i]);
            continue;
        }
        out.push_back(' '); // "[a]bob" and "[a] bob" both leave "bob"
        i = end;
    }
    return std::string(TrimSeparators(out));
}

std::string WithoutTrailingNumber(std::string_view key) {
    const std::size_t last = key.find_last_not_of("0123456789");
    if (last + 1 == key.size())
        return std::string(key);
    return std::string(
        TrimSeparators(key.substr(0, last == std::string_view::npos ? 0 : last + 1)));
}

std::vector<AliasSuggestion> SuggestAliases(const std::vector<LogNames>& logs,
                                            const AliasList& aliases) {
    PlayerIdentity identity(aliases);
    for (const LogNames& log : logs)
        for (const std::string& name : log.Names)
            identity.AddName(name);
    for (const LogNames& log : logs)
        for (const auto& [from, to] : log.Renames)
            identity.AddRename(from, to);
    const std::vector<std::string>& names = identity.Names();

    // Player numbers are the positions of first names; pairs map to their reasons.
    std::map<std::pair<std::size_t, std::size_t>, unsigned> reasons;
    const auto suggest = [&](std::size_t a, std::size_t b, unsigned reason) {
        if (a != b)
            reasons[{std::min(a, b), std::max(a, b)}] |= reason;
    };
    // A rename that a split holds apart, told so that the user can find it in the log.
    std::map<std::pair<std::size_t, std::size_t>, std::string> renameEvidence;
    for (const LogNames& log : logs)
        for (std::size_t k = 0; k < log.Renames.size(); ++k) {
            const auto& [from, to] = log.Renames[k];
            const std::size_t a = identity.PlayerOf(from), b = identity.PlayerOf(to);
            suggest(a, b, kRename);
            const std::uint64_t line = k < log.RenameLines.size() ? log.RenameLines[k] : 0;
            renameEvidence.try_emplace(
                {std::min(a, b), std::max(a, b)},
                "renamed from " + from + " to " + to + " in log " + std::to_string(log.Number) +
                    (line == 0 ? std::string() : ", line " + GroupedThousands(line)));
        }

    // Base name -> the first player with it and what its name lost to become the base; each
    // later player with the base is suggested to the first, for what either name lost.
    struct FirstWithBase {
        std::size_t Player;
        unsigned Lost;
    };
    std::map<std::string, FirstWithBase> firstWithBase[3];
    for (const std::string& name : names) {
        const std::size_t player = identity.PlayerOf(name);
        const std::string key = IdentityKey(name);
        const std::string tagless = WithoutClanTags(key);
        const std::string numberless = WithoutTrailingNumber(key);
        const std::string both = WithoutTrailingNumber(tagless);
        const unsigned tag = tagless != key ? kTag : 0;
        const std::pair<const std::string&, unsigned> bases[3] = {
            {tagless, tag},
            {numberless, numberless != key ? kNumber : 0},
            {both, tag | (both != tagless ? kNumber : 0)}};
        for (int b = 0; b < 3; ++b) {
            const auto& [base, lost] = bases[b];
            if (CharCount(base) < kShortestBase)
                continue;
            const auto [first, added] =
                firstWithBase[b].try_emplace(base, FirstWithBase{player, lost});
            // Two names that lost nothing have the same key: a split holds them apart.
            if (!added && (lost | first->second.Lost) != 0)
                suggest(first->second.Player, player, lost | first->second.Lost);
        }
    }

    std::vector<std::set<std::size_t>> logsOfPlayer(names.size());
    for (std::size_t l = 0; l < logs.size(); ++l)
        for (const std::string& name : logs[l].Names)
            logsOfPlayer[identity.PlayerOf(name)].insert(l);

    std::vector<AliasSuggestion> suggestions;
    for (const auto& [pair, found] : reasons) {
        AliasSuggestion suggestion{names[pair.first], names[pair.second], {}};
        if (found & (kTag | kNumber))
            suggestion.Reasons.push_back(ReasonText(found));
        if (found & kRename)
            suggestion.Reasons.push_back(renameEvidence[pair] + ", held apart by a split");
        if (logs.size() > 1) {
            const auto& a = logsOfPlayer[pair.first];
            const auto& b = logsOfPlayer[pair.second];
            const bool together =
                std::ranges::any_of(a, [&](std::size_t l) { return b.contains(l); });
            if (!together && !a.empty() && !b.empty())
                suggestion.Reasons.push_back("never in the same log");
        }
        suggestions.push_back(std::move(suggestion));
    }
    return suggestions;
}

} // namespace qla
