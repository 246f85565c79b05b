// The names qla erase-player removed from a database, as the database keeps them: only salted
// hashes of their identity keys, each with the pseudonym that stands in its place. A player is
// matched by the key of his name; a free text (a chat's message, a line of no other kind) by the
// key's text anywhere in it, case aside. Both are told from the hashes alone, so that an import
// long after the erase pseudonymises his new lines without the database holding his name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qla::db {

// One erased identity key (a row of erased_players).
struct ErasedName {
    std::string KeyHash;          // hex SHA-256 of the salt, a colon and the key
    std::uint64_t WindowHash = 0; // the key's rolling hash (WindowHashOf), to find it in texts
    std::size_t KeyBytes = 0;     // the key's length in bytes
    std::string Pseudonym;
};

// The salted hash and the rolling hash of an identity key, as erased_players keeps them.
std::string KeyHashOf(std::string_view salt, std::string_view key);
std::uint64_t WindowHashOf(std::string_view salt, std::string_view key);

// The pseudonym of the erasure numbered `number`: "erased player N".
std::string PseudonymText(std::int64_t number);
// The number of a pseudonym, or 0 when `name` is none.
std::int64_t PseudonymNumber(std::string_view name);

// Where a text holds an erased key: the bytes [Begin, End) of the text, whole characters.
struct ErasedTextMatch {
    std::size_t Begin = 0, End = 0;
    const std::string* Pseudonym = nullptr;
};

class ErasedNames {
  public:
    ErasedNames() = default; // erases nothing
    ErasedNames(std::string salt, std::vector<ErasedName> names);

    bool Empty() const { return names_.empty(); }
    const std::vector<ErasedName>& Names() const { return names_; }
    const std::string& Salt() const { return salt_; }

    // The pseudonym of a player whose identity key is `key`; nullptr when he is not erased.
    // Each key is hashed once.
    const std::string* PseudonymOfKey(const std::string& key) const;

    // Every place where `text`, case folded, holds an erased key, in order; where two overlap,
    // the one that starts first, and of those the longer, is kept.
    void FindInText(std::string_view text, std::vector<ErasedTextMatch>& found) const;

  private:
    std::string salt_;
    std::vector<ErasedName> names_;
    std::uint64_t base_ = 0; // of the rolling hash, from the salt
    std::vector<std::size_t> lengths_;
    mutable std::unordered_map<std::string, const std::string*> keys_;
    // Reused by FindInText: the folded text and, per folded byte, the offset of the character
    // of `text` it comes from.
    mutable std::string folded_;
    mutable std::vector<std::uint32_t> origins_;
};

} // namespace qla::db
