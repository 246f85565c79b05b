// The --db, --log, --since, --until and --server options.
#include "cli/database_source.h"

#include "cli/log_opening.h"
#include "db/database_target.h"
#include "db/log_date.h"

namespace qla::cli {

std::optional<DatabaseSource> ReadDatabaseOptions(const QCommandLineParser& parser,
                                                  std::string& usageError) {
    if (!parser.isSet(QStringLiteral("db"))) {
        for (const char* option : {"log", "since", "until", "server"})
            if (parser.isSet(QString::fromLatin1(option)))
                usageError = std::string("--") + option + " needs --db";
        return std::nullopt;
    }
    // Each log is read as it was imported; a choice for the whole command would contradict it.
    // Asked of the given names, as qla alias has no --recognition to ask the parser about.
    const QStringList given = parser.optionNames();
    for (const char* option : {"language", "recognition"})
        if (given.contains(QString::fromLatin1(option))) {
            usageError = std::string("--") + option +
                         " does not apply with --db (each log keeps the " + option +
                         " it was imported with)";
            return std::nullopt;
        }
    DatabaseSource source;
    source.Path = LocalPath(parser.value(QStringLiteral("db")));
    if (!db::ParseDatabaseTarget(source.Path, usageError))
        return std::nullopt;
    for (const QString& list : parser.values(QStringLiteral("log"))) {
        for (const QString& item : list.split(QLatin1Char(','))) {
            bool ok = false;
            const qlonglong id = item.trimmed().toLongLong(&ok);
            if (!ok || id <= 0) {
                usageError =
                    "--log takes log ids as qla logs lists them, not '" + item.toStdString() + "'";
                return std::nullopt;
            }
            source.Selection.Ids.push_back(id);
        }
    }
    for (const auto& [option, endOfDay] : {std::pair{"since", false}, std::pair{"until", true}}) {
        if (!parser.isSet(QString::fromLatin1(option)))
            continue;
        const std::string text = parser.value(QString::fromLatin1(option)).toStdString();
        const auto bound = db::DateBound(text, endOfDay);
        if (!bound) {
            usageError = std::string("--") + option + " takes YYYY-MM-DD, YYYY-MM-DD HH:MM or " +
                         "YYYY-MM-DD HH:MM:SS, not '" + text + "'";
            return std::nullopt;
        }
        (endOfDay ? source.Selection.Until : source.Selection.Since) = *bound;
    }
    if (parser.isSet(QStringLiteral("server")))
        source.Selection.Server = parser.value(QStringLiteral("server")).toStdString();
    return source;
}

} // namespace qla::cli
