// Dates of logs: the date header read as a sortable key, and the --since/--until bounds.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qla::db {

// The game's date text "Sun May 14 15:19:28 2006" (weekday, English month, day, time, year,
// blanks between) as "2006-05-14 15:19:28"; nullopt for any other text.
std::optional<std::string> SortableLogDate(std::string_view dateText);

// A bound given on the command line: "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS"
// (a "T" may stand for the blank). A date alone means its first second, or with `endOfDay` its
// last, so --until 2006-05-14 takes that whole day. Nullopt for anything else.
std::optional<std::string> DateBound(std::string_view text, bool endOfDay);

} // namespace qla::db
