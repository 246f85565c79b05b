// How the Analyze page merges the players of a run, and how the choice is kept between runs.
#pragma once

#include <QString>

namespace qla::ui {

enum class PlayerMergeChoice {
    None,        // one player per name, as the classic outputs count
    ByNames,     // names that differ only in colour codes, case or blanks at the ends
    WithRenames, // persons over time: renames and sessions followed (the store tracks holders)
};

// The word the choice is kept under ("none", "names", "renames"), stable across releases.
QString MemoryWordOf(PlayerMergeChoice choice);
// The choice kept as `word`; None for anything unknown, so an old or damaged setting merges
// nothing.
PlayerMergeChoice MergeChoiceFromMemory(const QString& word);

} // namespace qla::ui
