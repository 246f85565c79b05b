// `qla import`, `qla logs`, `qla forget`, `qla check` and `qla upgrade`: filling and tending a
// statistics database.
#pragma once

#include "db/log_import.h"

#include <QStringList>

#include <ostream>
#include <string>

namespace qla::cli {

// Each takes the whole command line (program name, command, options); 0 on success, 1 when a
// log or the database fails (message on err), 2 on a usage error.
int RunImportCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);
int RunLogsCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);
int RunForgetCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);
int RunCheckCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);
int RunUpgradeCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);
int RunReanalyzeCommand(const QStringList& arguments, std::ostream& out, std::ostream& err);

// What one import did to one log, as one line (without line end).
std::string ImportReport(const std::string& path, const db::ImportResult& result);

} // namespace qla::cli
