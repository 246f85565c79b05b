// A history of logs played by persons, with the truth beside it: who each event line belongs
// to, and each person's skill. Persons keep a main name across logs, some change their clan tag
// between logs, every newcomer connects under the game's default name and renames away from it,
// some rename to a fun name for a while and back, names are taken again by others once left,
// and who kills whom follows the persons' skills (a probit of the skill difference plus a weapon
// effect, the skills drifting a little from log to log) among players of a similar level on
// each evening's server. The truth never enters the logs: identity and rating are measured
// against it.
#pragma once

#include <string>

#include "options.h"

namespace loggen {

// The game's name for a player who has not chosen one.
inline constexpr std::string_view kDefaultPlayerName = "Player";

// Writes options.logs logs of options.lines lines each into options.outputFolder:
// logNN.log, logNN.truth.tsv ("line<TAB>role<TAB>person" for every line that names a player:
// roles killer, victim, player (a suicide), speaker, renamer; lines counted from 1) and
// persons.tsv ("person<TAB>main name<TAB>first log<TAB>skill in log 1,...,skill in log N").
// False with the reason in `error`.
bool writeHistory(const Options& options, std::string* error);

} // namespace loggen
