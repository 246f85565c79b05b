// The tables of a statistics database (docs/database.md describes them) and its version.
#pragma once

#include <QSqlDatabase>

#include <string>

namespace qla::db {

// Version 2 added the recognition mode of each log, version 3 the player_aliases table, version
// 4 the keys that match a file to its earlier imports and the chunks' checksums, version 5 the
// statistics stored at import. A database older than 5 is read by analysing its stored lines
// (as if every log had been imported in classic mode and without aliases, before version 2 and
// 3); the first write, or qla upgrade, brings it to this version. Version 6 keeps each log's
// holdings of names (log_holdings), for merging players over time; a log imported before has
// none until qla reanalyze reads it again. Version 7 changes no table's columns: on SQLite the
// tables of large rows are kept by row number (schema.cpp says why). Version 8 adds the server
// a log was played on (logs.server), as qla import --server tags it, and the hidden players
// (hidden_players, qla hide). Version 9 keeps each log's kills in the order they were made
// (log_kill_orders), for the streaks; a log imported before has none until qla reanalyze reads it
// again. Version 10 counts the removals of a log's statistics rows to write them again
// (statistics_rewrites.h), so that a reader may keep the rows it read. Version 11 keeps each
// log's holdings folded into chains (log_chains, log_chains.h), so that merging persons reads a
// few hundred records of a log instead of all its holdings, and keeps a digest's kills and
// renames apart from its head (log_digests.kills and .renames), so that a reader of the counters
// reads a few kilobytes of a log; its upgrade stores every log's digest so, and its chains.
// Version 12 keeps the players' counters summed over runs of logs (log_blocks, log_blocks.h), so
// that a reader of the counters of a hundred logs files a few sums, and the persons of the whole
// history (kept_persons, kept_persons.h); its upgrade sums the runs. Version 13 packs the
// chunks it stores with zstd (log_chunks.packing "zstd", chunk_compression.h; the chunks stored
// before keep their zlib, which a reader of version 12 reads, but not zstd) and keeps the uses
// of the names of each log's chains (log_chains.name_uses, log_name_uses.h), which its upgrade
// works out.
inline constexpr int kSchemaVersion = 13;
// Added in version 8: the identity keys of the hidden players (qla hide). A database made at
// version 8 before it came has none: its first hide creates it.
inline constexpr const char* kHiddenPlayersTable = "CREATE TABLE IF NOT EXISTS hidden_players ("
                                                   " name_key TEXT PRIMARY KEY)";
// The first version that keeps the logs' holdings.
inline constexpr int kHoldingsVersion = 6;
// The first version that keeps the logs' chains.
inline constexpr int kChainsVersion = 11;
// The first version that keeps the sums of runs of logs, and the persons of the whole history.
inline constexpr int kBlocksVersion = 12;
inline constexpr int kKeptPersonsVersion = 12;
// The first version that keeps the uses of the names of each log's chains.
inline constexpr int kNameUsesVersion = 13;
// The first version that keeps the order of the logs' kills.
inline constexpr int kKillOrderVersion = 9;
// The first version whose logs' statistics are stored.
inline constexpr int kStatisticsVersion = 5;
inline constexpr int kOldestReadableVersion = 1;

// Creates every table and the version row in an empty database, inside the caller's write
// transaction. False with the engine's message on failure.
bool CreateSchema(QSqlDatabase& connection, std::string& error);

// The version the database records; 0 when it records none.
int StoredSchemaVersion(QSqlDatabase& connection);

// Brings an older database to this version inside the caller's write transaction, step by
// step; nothing to do for a database of this version. False with the engine's message on failure.
// The statistics of the logs of a database older than version 5 are filled in by the caller.
bool UpgradeSchema(QSqlDatabase& connection, std::string& error);

// The recognition a log new to the database is imported with unless told otherwise: full for a
// database made by this version, classic for one made before (so that it never mixes modes
// without being told to). The `default_recognition` row of qla_meta.
inline constexpr const char* kDefaultRecognitionRow = "default_recognition";

// Checks the version row: empty when this program reads the database, else why not.
std::string SchemaProblem(QSqlDatabase& connection, const std::string& path);

// True when the database holds no tables at all (a new file).
bool IsEmptyDatabase(QSqlDatabase& connection);

} // namespace qla::db
