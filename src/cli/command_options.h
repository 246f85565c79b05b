// The options several qla commands share, described once: a log's language and recognition, a
// database in place of LOG, the merging of players, and the aliases file.
#pragma once

#include "cli/command_table.h"

#include <string>
#include <vector>

namespace qla::cli {

// --language with the command's own description.
OptionInfo LanguageOption(const std::string& description);
// --db with the command's own description.
OptionInfo DatabaseOption(const std::string& description);
// What a reading command takes: the log's language and recognition, or a database in place of
// LOG and the logs to read from it.
std::vector<OptionInfo> ReadingOptions();
// The reading options, the merging of players, then the command's own.
std::vector<OptionInfo> WithReadingOptions(const std::vector<OptionInfo>& own);
// The options of qla alias: the aliases file or the database, the logs to read, their language.
std::vector<OptionInfo> AliasOptions();

} // namespace qla::cli
