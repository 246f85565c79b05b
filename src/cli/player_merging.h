// --merge-players, --merge-players=names and --aliases: which players a command merges, and
// finding a player by any of his names once merged.
#pragma once

#include "analysis/alias_list.h"
#include "analysis/merge_players.h"
#include "core/store.h"

#include <QCommandLineParser>

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace qla::cli {

// For "no player is stored as NAME": the stored names that equal NAME but for colour codes,
// case and blanks, as " (stored names like it: 'A', 'B')", or nothing.
std::string StoredNamesLike(const AnalysisStore& store, const std::string& name);

// "--merge-players=RULE" reaches the parser as --merge-players and this hidden option, since a
// flag of Qt's parser takes no value.
inline constexpr std::string_view kMergeRuleOption = "merge-players-rule";

// What the two options chose, and after Apply the names of the merged players.
struct PlayerMerging {
    bool Merge = false;
    // --merge-players=names: identity keys only; otherwise names over time (the store must then
    // track holders before it is filled: TracksHolders()).
    bool ByNamesOnly = false;
    bool TracksHolders() const { return Merge && !ByNamesOnly; }
    AliasList Aliases;
    // Whether a database may be read as its logs' chains (AnalysisStore::HoldersChained): a
    // split takes one name's holdings out of the chains they were stored in.
    bool ReadsChains() const;
    std::optional<MergedNames> Names;

    // Merges the store's players when chosen.
    void Apply(AnalysisStore& store);
    // The player stored as `name`; once merged, the merged player of any of its names. A hidden
    // name finds none.
    std::optional<PlayerIndex> Find(const AnalysisStore& store, const std::string& name) const;

    // After Apply: joins the players whose names have these identity keys (a database's hidden
    // players) into the store's hidden player (HidePlayers).
    void Hide(AnalysisStore& store, std::vector<std::string> hiddenKeys);
    // The record the lines of a stored name are filed under: Find's, or for a hidden name the
    // hidden player's; 0 for a name the store does not know.
    PlayerIndex FiledUnder(const AnalysisStore& store, const std::string& name) const;

  private:
    std::unordered_set<std::string> hiddenKeys_;
};

// Reads the options from a parser that holds them; nullopt after printing why (--aliases
// without --merge-players is a usage error, an unreadable file a failure: see exitCode).
std::optional<PlayerMerging> ReadPlayerMerging(const QCommandLineParser& parser, std::ostream& err,
                                               int& exitCode);

} // namespace qla::cli
