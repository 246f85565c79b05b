// A log's statistics as the database keeps them: everything the analysis of the log alone
// found except the texts of its chats and other lines (kept as rows of their own). Reading
// logs one after the other from these gives what reading the logs' lines one after the other
// gives, so no reading command reads a log's lines again.
#pragma once

#include "analysis/analysis.h"
#include "core/store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qla::db {

// A pair of a log's players and whether its kills are teamkills, as one key (the killer's place
// below 2^31, as every log's is).
inline std::uint64_t KillPairKey(std::uint32_t killer, std::uint32_t victim, bool teamkill) {
    return (std::uint64_t{killer} << 33) | (std::uint64_t{victim} << 1) | (teamkill ? 1u : 0u);
}

// The kills of one killer, victim and event text in a log, and where the first of them stood.
struct DigestEncounter {
    std::uint32_t Killer = 0; // positions in LogDigest::Players
    std::uint32_t Victim = 0;
    EventWeapon WeaponText = 0;
    std::uint64_t Count = 0;
    std::uint64_t FirstEvent = 0; // 1 for the log's first kill event
};

// All kills of one killer on one victim in a log (teamkills apart), and where the first stood:
// what the event tables, merging and the rating read.
struct DigestPair {
    std::uint32_t Killer = 0;
    std::uint32_t Victim = 0;
    EventWeapon FirstWeapon = 0; // the event text of the first (kEventTeamkill for teamkills)
    std::uint64_t Count = 0;
    std::uint64_t FirstEvent = 0;
};

// One holder's use of a name in the log (AnalysisStore::TracksHolders), for merging players over
// time without reading the lines again.
struct DigestHolding {
    std::uint32_t Name = 0; // position in LogDigest::Players
    NameHolding Holding;    // From: position + 1 of the holding it continues (0: none)
    PlayerRecord Counters;  // its counters; Name unused
};

// A chat whose speaker is not the first holding of the speaker's name.
struct DigestChatHolding {
    bool Voice = false;
    std::uint64_t Seq = 0; // the chat's row, counted from 1 in its kind
    std::uint32_t Holding = 0;
};

struct LogDigest {
    AnalysisTotals Totals;
    std::vector<PlayerRecord> Players; // in order of first appearance in the log
    std::uint64_t EventCount = 0;      // the log's kill events, teamkills included
    // In order of FirstEvent; see DigestParts (digest_packing.h).
    std::vector<DigestEncounter> Encounters;
    std::vector<DigestPair> Pairs; // PairsOf(Encounters), kept so by AppendPiece
    std::vector<std::pair<std::string, std::string>> Renames;
    std::vector<std::string> CutNames; // the store's CutObituaryNames
    std::uint64_t VoiceChatRows = 0, TextChatRows = 0, UnknownLineRows = 0;
    // The holdings, when the log was imported by a qla that keeps them.
    bool HasHoldings = false;
    std::vector<DigestHolding> Holdings;
    // Read with DigestParts::HoldingNamesOnly: each holding's name (position in Players), and
    // Holdings left empty.
    std::vector<std::uint32_t> HoldingNameIds;
    std::vector<DigestPair> HoldingPairs; // killer and victim: positions in Holdings
    std::vector<DigestChatHolding> ChatHoldings;
    // Names renamed into at the end of the lines so far and not used yet: name, holding.
    std::vector<std::pair<std::string, std::uint32_t>> RenamedInto;
    // Beside each of Renames: the holding renamed away from (position + 1; 0: none) and the line.
    std::vector<std::pair<std::uint32_t, std::uint64_t>> RenameHoldings;

    std::vector<std::string> Names() const;
    // The names of the holdings, in their order.
    std::vector<std::string> HoldingNames() const;
    std::vector<NameHolding> HoldingStates() const;
};

// Adds the holdings of a piece analysed with holders tracked, before AppendPiece adds the rest:
// its records 1 to Holdings.size() are the digest's holdings (StreamOptions::KnownHoldings).
// `killPairs`, when given, receives the place in HoldingPairs of each of the piece's kills.
void AppendHoldings(LogDigest& digest, const AnalysisStore& piece,
                    std::vector<std::uint32_t>* killPairs = nullptr);

// Adds what `piece` found in the lines that follow the digest's to the digest. The piece was
// analysed with the digest's names filed first (StreamOptions::KnownPlayers), so its records
// 1 to Players.size() are the digest's players; its later records are the log's new players.
void AppendPiece(LogDigest& digest, const AnalysisStore& piece, const AnalysisTotals& totals);

// How many of a log's rows its earlier lines stored, which a piece's rows number on from; taken
// before AppendPiece adds the piece, so that the rows can be written while it does.
struct RowsBefore {
    bool HadPlayers = false;
    std::uint64_t VoiceChats = 0, TextChats = 0, UnknownLines = 0;
};
RowsBefore RowsBeforeOf(const LogDigest& digest);

// A piece that tracks holders: its holdings into the digest (AppendHoldings), then the piece
// filed by name for AppendPiece and the rows. Nothing for any other piece.
void FileHoldings(LogDigest& digest, AnalysisStore& piece,
                  std::vector<std::uint32_t>* killPairs = nullptr);

// The digest of a log analysed whole (FileHoldings first).
LogDigest DigestOfStore(AnalysisStore& store, const AnalysisTotals& totals);

// The encounters grouped by killer and victim (teamkills apart).
std::vector<DigestPair> PairsOf(const std::vector<DigestEncounter>& encounters);

} // namespace qla::db
