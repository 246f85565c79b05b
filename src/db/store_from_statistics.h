// Building the analysis store from the statistics stored at import: each selected log's digest
// filed one after the other, then (when a view shows them) its chats and other lines streamed
// from their rows. The store equals the one that analysing the selected logs' lines one after
// the other builds, except that one entry of KillEvents stands for all kills of one killer on
// one victim (teamkills apart) in a log (KillEventCounts), at the place of the first of them.
#pragma once

#include "analysis/holder_identity.h"
#include "db/log_chains.h"
#include "db/store_from_database.h"

namespace qla::db {

// The parts a reader of the players' names and counters alone asks for: such a reading files
// the sums of runs of logs (log_blocks.h) where they stand for the logs it selects, and leaves
// the Lines of those logs without names.
StoreParts CountersOnly();

// Inside the caller's read transaction.
DatabaseStoreResult BuildStoreFromStatistics(StatsDatabase& database, const LogSelection& selection,
                                             AnalysisStore& store, StoreParts parts);

// The uses of the names of one log's chains (NameKeyUses), its chains filed alone as merging
// persons files them: what a reading by name sums over its logs to tell the passing names.
std::vector<NameKeyUse> NameUsesOfLog(const LogDigest& digest, const LogChains& chains);

// The names of `store` that a cut obituary name of the digest may stand for: the longer names it
// begins. When there are any, the log's stored statistics (taken from the log alone) may file
// those obituaries otherwise than reading the logs one after the other does.
std::vector<std::string> EarlierNamesForCutNames(const AnalysisStore& store,
                                                 const std::vector<std::string>& cutNames);

} // namespace qla::db
