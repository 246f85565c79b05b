// How well merging players finds persons, held to the truth of a generated history: every
// player a line names (a killer, a victim, a player who died by himself, a speaker) is one item
// whose person the generator wrote down. Over all pairs of items: precision is the share of the
// pairs put in one player that belong to one person, recall the share of the pairs of one person
// that are put in one player.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qla::identity_truth {

enum class Rule {
    Persons,     // names over time (the model of --merge-players)
    Names,       // identity keys only (--merge-players=names)
    RenamesEver, // every rename joins its two names for ever, keys joined too (the older rule)
};

struct Score {
    double Precision = 0;
    double Recall = 0;
    std::int64_t Players = 0;      // merged players that hold items
    std::int64_t MixedPlayers = 0; // of them, those holding items of two persons or more
    std::int64_t Items = 0;
    std::int64_t Unattributed = 0; // items of truth lines the analysis filed under no one
    // Each mixed player: its names and, per person, the items it holds of him.
    std::vector<std::string> Mixed;
};

// The logs logNN.log (NN from 01) of `folder`, read one after the other as one history, each
// with its logNN.truth.tsv. False with the reason in `error`.
bool ScoreHistory(const std::string& folder, Rule rule, Score& score, std::string& error);

} // namespace qla::identity_truth
