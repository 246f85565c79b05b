// The SQLite and PostgreSQL sides of the statistics database's engine differences.
#include "db/engine_dialect.h"

#include <cstring>

namespace qla::db {

namespace {

// The advisory lock key every qla writer of a PostgreSQL database takes: "qla" in ASCII.
constexpr qint64 kWriteLockKey = 0x716c61;

// libpq's keyword=value text for the parameters Qt has no setter for; values quoted for libpq.
QString ExtraOptions(const DatabaseTarget& target) {
    QStringList options;
    for (const auto& [key, value] : target.Parameters) {
        if (key == "host" || key == "port" || key == "dbname" || key == "user")
            continue;
        QString quoted = QString::fromStdString(value);
        quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        quoted.replace(QLatin1Char('\''), QLatin1String("\\'"));
        options << QString::fromStdString(key) + QLatin1String("='") + quoted + QLatin1Char('\'');
    }
    // Qt turns ';' into the blank libpq separates pairs with.
    return options.join(QLatin1Char(';'));
}

} // namespace

QString ColumnText(const std::string& text) {
    QString column = QString::fromStdString(text);
    column.replace(QChar(u'\0'), QChar(QChar::ReplacementCharacter));
    return column;
}

const char* DriverName(Engine engine) {
    return engine == Engine::PostgreSQL ? "QPSQL" : "QSQLITE";
}

const char* DriverPackage(Engine engine) {
    return engine == Engine::PostgreSQL ? "libqt6sql6-psql" : "libqt6sql6-sqlite";
}

void ConfigureConnection(QSqlDatabase& connection, const DatabaseTarget& target, bool writable,
                         int busyTimeoutMs) {
    if (target.Kind == Engine::SQLite) {
        connection.setDatabaseName(QString::fromStdString(target.Text));
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs);
        if (!writable)
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
        connection.setConnectOptions(options);
        return;
    }
    const auto parameter = [&](const char* key) {
        const auto it = target.Parameters.find(key);
        return it == target.Parameters.end() ? QString() : QString::fromStdString(it->second);
    };
    // What is not given is left to libpq: PGHOST, PGUSER, the local socket, the login name.
    connection.setHostName(parameter("host"));
    connection.setDatabaseName(parameter("dbname"));
    connection.setUserName(parameter("user"));
    if (const QString port = parameter("port"); !port.isEmpty())
        connection.setPort(port.toInt());
    connection.setConnectOptions(ExtraOptions(target));
}

QStringList SessionSetup(Engine engine, bool readOnly, int busyTimeoutMs) {
    if (engine == Engine::SQLite) {
        // Large pages suit the stored log bytes: fewer overflow pages to chain and follow. The
        // size takes effect only while the file is still empty.
        // A reader reads each stored statistic once: a small cache keeps its memory small.
        return {QStringLiteral("PRAGMA page_size = 65536"),
                readOnly ? QStringLiteral("PRAGMA cache_size = -2048")
                         : QStringLiteral("PRAGMA cache_size = -16384")};
    }
    // libpq prints the server's notices and warnings on standard error by itself; qla says in
    // its own words what went wrong, so only errors come back, and they come back as results.
    QStringList setup{QStringLiteral("SET lock_timeout = %1").arg(busyTimeoutMs),
                      QStringLiteral("SET client_min_messages = error")};
    if (readOnly)
        setup << QStringLiteral("SET default_transaction_read_only = on");
    return setup;
}

QStringList BeginWriteStatements(Engine engine) {
    if (engine == Engine::SQLite)
        return {QStringLiteral("BEGIN IMMEDIATE")};
    return {QStringLiteral("BEGIN"),
            QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kWriteLockKey)};
}

QString BeginReadStatement(Engine engine) {
    // PostgreSQL's default isolation takes a new snapshot per statement; the store is read in
    // several, so they must all see the same commits.
    return engine == Engine::SQLite
               ? QStringLiteral("BEGIN")
               : QStringLiteral("BEGIN TRANSACTION ISOLATION LEVEL REPEATABLE READ");
}

bool IsBusy(Engine engine, const QSqlError& error) {
    const QString code = error.nativeErrorCode();
    if (engine == Engine::SQLite) // SQLITE_BUSY (5) and SQLITE_LOCKED (6)
        return code == QLatin1String("5") || code == QLatin1String("6");
    return code == QLatin1String("55P03"); // lock_not_available: lock_timeout passed
}

bool IsConnectionLost(Engine engine, const QSqlError& error) {
    if (engine == Engine::SQLite)
        return false;
    const QString code = error.nativeErrorCode();
    // Class 08 (connection exception) and the shutdown codes 57P01 to 57P03; a connection that
    // broke under libpq carries no code, only its text.
    if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P0")))
        return true;
    const QString text = error.text();
    return text.contains(QLatin1String("server closed the connection")) ||
           text.contains(QLatin1String("no connection to the server")) ||
           text.contains(QLatin1String("terminating connection")) ||
           text.contains(QLatin1String("could not receive data from server")) ||
           text.contains(QLatin1String("could not send data to server"));
}

bool IsDamage(Engine engine, const QSqlError& error) {
    const QString code = error.nativeErrorCode();
    if (engine == Engine::SQLite) // SQLITE_CORRUPT (11) and SQLITE_NOTADB (26)
        return code == QLatin1String("11") || code == QLatin1String("26");
    return code.startsWith(QLatin1String("XX")); // data_corrupted, index_corrupted, internal
}

std::string EngineMessage(Engine engine, const QSqlError& error) {
    if (engine == Engine::SQLite || error.databaseText().isEmpty())
        return error.text().simplified().toStdString();
    // libpq's "ERROR:  permission denied for table logs" with its code: the sentence alone,
    // without the driver's own line ("QPSQL: Unable to create query").
    QString text = error.databaseText().simplified();
    for (const char* severity : {"ERROR:", "FATAL:", "PANIC:"})
        if (text.startsWith(QLatin1String(severity)))
            text = text.mid(static_cast<qsizetype>(std::strlen(severity))).trimmed();
    const QString code = QStringLiteral("(%1)").arg(error.nativeErrorCode());
    if (!error.nativeErrorCode().isEmpty() && text.endsWith(code))
        text = text.chopped(code.size()).trimmed();
    return text.toStdString();
}

} // namespace qla::db
