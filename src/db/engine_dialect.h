// Everything in which SQLite and PostgreSQL differ for the statistics database, in one place:
// how a connection is made and set up, how a writer serialises with the others, how a reader
// gets one consistent view, and how the engines name a busy lock or a lost server.
#pragma once

#include "db/database_target.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>

#include <string>

namespace qla::db {

// Text from a log (a player name, a date header) as a column value: PostgreSQL's text holds no
// NUL character, so both engines store U+FFFD in its place (invalid UTF-8 becomes U+FFFD
// anyway). Only the per-log summaries hold such text; the stored log bytes are kept as they are.
QString ColumnText(const std::string& text);

// The Qt SQL driver of the engine and its Debian package, for the message when it is missing.
const char* DriverName(Engine engine);
const char* DriverPackage(Engine engine);

// Sets the driver's connection parameters before open(). `writable` is false for a reader of an
// SQLite file it may not write.
void ConfigureConnection(QSqlDatabase& connection, const DatabaseTarget& target, bool writable,
                         int busyTimeoutMs);

// Statements run once after open(): the session's lock wait, and for a reader, read-only.
QStringList SessionSetup(Engine engine, bool readOnly, int busyTimeoutMs);

// The statements that start a write transaction and take the one lock all writers of the
// database share, so two writers never act on the same state: SQLite's BEGIN IMMEDIATE, or on
// PostgreSQL a transaction-level advisory lock (released by COMMIT or ROLLBACK, and by the
// server when the client dies).
QStringList BeginWriteStatements(Engine engine);

// Starts a read transaction that sees one committed state throughout.
QString BeginReadStatement(Engine engine);

// Another writer held the lock longer than the wait allows.
bool IsBusy(Engine engine, const QSqlError& error);

// The connection to the server broke (the server stopped, restarted or ended the session).
bool IsConnectionLost(Engine engine, const QSqlError& error);

// The engine found its own pages damaged.
bool IsDamage(Engine engine, const QSqlError& error);

// The engine's message as one line: PostgreSQL's sentence without its severity, code and the
// driver's own words; SQLite's as Qt gives it.
std::string EngineMessage(Engine engine, const QSqlError& error);

} // namespace qla::db
