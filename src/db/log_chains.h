// A log's holdings folded into chains when it is stored: one record for each holder's use of a
// name over the log's sessions, a holder followed through his renames. Merging persons reads
// these few hundred records of a log instead of its tens of thousands of holdings, and works out
// the same persons (analysis/holder_identity.h): the steps after the chains only ever join whole
// chains, by their names, their spans and the kills between them.
#pragma once

#include "db/log_digest.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qla::db {

struct LogChains {
    // One record per chain and name, in the order of their first holdings. Name: a position in
    // the digest's Players. Holding: the chain's session, its name's first and last lines,
    // From = 1 + the position of the chain's first record (0: this is it), Held and Latest
    // (NameHolding). A log in which a kill would fall between two holdings of one record keeps a
    // record per holding instead.
    std::vector<DigestHolding> Records;
    // The kills between records (teamkills apart), in the order of their first kill.
    std::vector<DigestPair> Pairs;
    // By name position: 1 + the record of the name's first holding (0: the name has none).
    std::vector<std::uint32_t> FirstOfName;
    // The chats whose record is not that of their name's first holding, with Holding the
    // position of their record (the digest's ChatHoldings, of the same speaker's name).
    std::vector<DigestChatHolding> ChatRecords;
    // The renames that end a holding, the first of each record and new name only (the later
    // ones join nothing more). From: the position of the record renamed away from.
    struct Rename {
        std::uint32_t From = 0;
        std::uint64_t Line = 0;
        std::string OldName, NewName;
    };
    std::vector<Rename> Renames;
};

// The chains of a digest that has holdings (HasHoldings), with its renames and their holdings.
LogChains ChainsOfDigest(const LogDigest& digest);

// The stored form, and back: the chat records apart (only the chat views read them), the rest
// in EncodeChains. Nullopt or false when the bytes are damaged or of another format.
std::string EncodeChains(const LogChains& chains);
std::optional<LogChains> DecodeChains(std::string_view bytes, std::size_t players);
std::string EncodeChainChats(const LogChains& chains);
bool DecodeChainChats(std::string_view bytes, LogChains& chains);

} // namespace qla::db
