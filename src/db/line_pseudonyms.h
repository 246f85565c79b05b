// Writing a log's lines with the erased players' pseudonyms in place of their names. Each line
// is read by the parsers of the log's language and recognition, which tell where it names a
// player and where it holds free text: a name whose identity key is erased gives way to the
// pseudonym, and so does an erased key's text (case aside) inside a chat's message or location
// or a line of no other kind. Other players' names, and the lines' fixed words, stay as they are,
// so the lines read as before with the pseudonym for the erased player.
#pragma once

#include "analysis/recognition.h"
#include "db/erased_names.h"
#include "languages/languages.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qla::db {

struct PseudonymReading {
    LogLanguage Language = LogLanguage::English;
    Recognition LineRecognition = Recognition::Classic;
    // The bytes begin the log: a UTF-8 byte-order mark there is no part of the first line.
    bool AtFileStart = true;
    // The players of the log's earlier lines, filed first (a log that grows), so that a name
    // the game cut in an obituary line is read as the analysis reads it.
    std::vector<std::string> KnownPlayers;
};

// Rewrites `bytes`, whole lines as a log stores them. Returns the number of lines changed and,
// when it is not 0, the new bytes in `out`: a changed line is written as the UTF-8 the reader
// reads it as (a Windows-1252 line too), every other line byte for byte.
std::uint64_t PseudonymiseLines(std::string_view bytes, const ErasedNames& names,
                                const PseudonymReading& reading, std::string& out);

} // namespace qla::db
