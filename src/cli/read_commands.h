// The commands that read a log and print what they found: info, analyze, players, player and
// ratings.
#pragma once

#include <QStringList>

#include <ostream>

namespace qla::cli {

// Each takes the whole command line (program name, command, then its arguments) and returns
// the exit status: 0 success, 1 the work failed, 2 a usage error.
int RunInfoCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);
int RunAnalyzeCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);
int RunPlayersCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);
int RunPlayerCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);
int RunRatingsCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);

} // namespace qla::cli
