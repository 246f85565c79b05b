// The aliases file: the user's joins and splits for single logs, one entry a line, fields
// separated by a tab (names may hold blanks), "#" lines and empty lines ignored:
//     join<TAB>NAME<TAB>OTHER
//     split<TAB>NAME
// docs/identity.md describes it for users.
#pragma once

#include "analysis/alias_list.h"

#include <string>
#include <string_view>

namespace qla {

struct AliasFileResult {
    AliasList Aliases;
    std::string Error; // empty when the file was read; else why not, with the line number
    bool Ok() const { return Error.empty(); }
};

AliasFileResult ParseAliases(std::string_view text);
std::string FormatAliases(const AliasList& aliases);

// Reads the file; a file that does not exist is an error unless `missingIsEmpty`.
AliasFileResult ReadAliasFile(const std::string& path, bool missingIsEmpty);
// Replaces the file with the list (through a temporary file beside it, so a failed write
// leaves the old file whole). Returns the reason when it cannot.
std::string WriteAliasFile(const std::string& path, const AliasList& aliases);

} // namespace qla
