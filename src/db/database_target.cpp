// Reading --db: a file path, a postgresql:// URL or libpq key=value pairs, with every password
// refused, since a command line is visible to every user of the machine.
#include "db/database_target.h"

#include <QByteArray>

#include <algorithm>
#include <cctype>
#include <set>

namespace qla::db {

namespace {

// The libpq keywords qla passes on. Password keywords are refused, not listed.
const std::set<std::string>& KnownKeywords() {
    static const std::set<std::string> keywords = {"host",
                                                   "hostaddr",
                                                   "port",
                                                   "dbname",
                                                   "user",
                                                   "passfile",
                                                   "connect_timeout",
                                                   "options",
                                                   "application_name",
                                                   "sslmode",
                                                   "sslcert",
                                                   "sslkey",
                                                   "sslrootcert",
                                                   "sslcrl",
                                                   "sslcompression",
                                                   "gssencmode",
                                                   "krbsrvname",
                                                   "service",
                                                   "target_session_attrs",
                                                   "keepalives",
                                                   "keepalives_idle",
                                                   "keepalives_interval",
                                                   "keepalives_count",
                                                   "tcp_user_timeout",
                                                   "channel_binding",
                                                   "requirepeer",
                                                   "client_encoding"};
    return keywords;
}

bool IsPasswordKeyword(const std::string& key) {
    return key == "password" || key == "sslpassword";
}

std::string PercentDecoded(const std::string& text) {
    return QByteArray::fromPercentEncoding(QByteArray::fromStdString(text)).toStdString();
}

// Adds one keyword; false with the reason for a password or an unknown keyword.
bool AddParameter(DatabaseTarget& target, const std::string& key, const std::string& value,
                  std::string& error) {
    if (IsPasswordKeyword(key)) {
        error = "the --db connection must not hold a password (it would be visible to every user"
                " of this machine): set PGPASSWORD or use ~/.pgpass";
        return false;
    }
    if (!KnownKeywords().contains(key)) {
        error = "unknown PostgreSQL connection keyword '" + key +
                "' in --db (a file whose name holds '=' is written as ./NAME)";
        return false;
    }
    target.Parameters[key] = value;
    return true;
}

bool ParseUrl(const std::string& text, DatabaseTarget& target, std::string& error) {
    std::string rest = text.substr(text.find("://") + 3);
    std::string query;
    if (const auto mark = rest.find('?'); mark != std::string::npos) {
        query = rest.substr(mark + 1);
        rest.resize(mark);
    }
    std::string authority = rest, database;
    if (const auto slash = rest.find('/'); slash != std::string::npos) {
        authority = rest.substr(0, slash);
        database = rest.substr(slash + 1);
    }
    if (const auto at = authority.rfind('@'); at != std::string::npos) {
        const std::string user = authority.substr(0, at);
        authority.erase(0, at + 1);
        if (user.find(':') != std::string::npos)
            return AddParameter(target, "password", {}, error);
        if (!user.empty() && !AddParameter(target, "user", PercentDecoded(user), error))
            return false;
    }
    std::string host = authority, port;
    if (!authority.empty() && authority.front() == '[') { // [IPv6]:port
        const auto close = authority.find(']');
        if (close == std::string::npos) {
            error = "--db: the URL's host has no closing ']': " + text;
            return false;
        }
        host = authority.substr(1, close - 1);
        if (close + 1 < authority.size() && authority[close + 1] == ':')
            port = authority.substr(close + 2);
    } else if (const auto colon = authority.rfind(':'); colon != std::string::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
    }
    if (!port.empty() && !std::all_of(port.begin(), port.end(),
                                      [](unsigned char c) { return std::isdigit(c) != 0; })) {
        error = "--db: the URL's port is no number: " + text;
        return false;
    }
    if ((!host.empty() && !AddParameter(target, "host", PercentDecoded(host), error)) ||
        (!port.empty() && !AddParameter(target, "port", port, error)) ||
        (!database.empty() && !AddParameter(target, "dbname", PercentDecoded(database), error)))
        return false;
    std::size_t start = 0;
    while (start < query.size()) {
        auto end = query.find('&', start);
        if (end == std::string::npos)
            end = query.size();
        const std::string pair = query.substr(start, end - start);
        const auto equals = pair.find('=');
        if (equals == std::string::npos) {
            error = "--db: '" + pair + "' in the URL's query is no key=value";
            return false;
        }
        if (!AddParameter(target, PercentDecoded(pair.substr(0, equals)),
                          PercentDecoded(pair.substr(equals + 1)), error))
            return false;
        start = end + 1;
    }
    return true;
}

// libpq's key=value form: blanks between pairs, a value in single quotes may hold blanks and
// escape ' and \ with a backslash.
bool ParsePairs(const std::string& text, DatabaseTarget& target, std::string& error) {
    std::size_t i = 0;
    const auto blank = [&](std::size_t at) {
        return std::isspace(static_cast<unsigned char>(text[at])) != 0;
    };
    while (i < text.size()) {
        while (i < text.size() && blank(i))
            ++i;
        if (i == text.size())
            break;
        const auto equals = text.find('=', i);
        if (equals == std::string::npos) {
            error = "--db: '" + text.substr(i) + "' is no key=value";
            return false;
        }
        std::string key = text.substr(i, equals - i);
        while (!key.empty() && std::isspace(static_cast<unsigned char>(key.back())))
            key.pop_back();
        i = equals + 1;
        while (i < text.size() && blank(i))
            ++i;
        std::string value;
        if (i < text.size() && text[i] == '\'') {
            ++i;
            while (i < text.size() && text[i] != '\'') {
                if (text[i] == '\\' && i + 1 < text.size())
                    ++i;
                value += text[i++];
            }
            if (i == text.size()) {
                error = "--db: a quoted value has no closing quote";
                return false;
            }
            ++i;
        } else {
            while (i < text.size() && !blank(i))
                value += text[i++];
        }
        if (!AddParameter(target, key, value, error))
            return false;
    }
    return true;
}

} // namespace

bool LooksLikeConnection(const std::string& text) {
    if (text.starts_with("postgresql://") || text.starts_with("postgres://"))
        return true;
    // key=value: a first word of letters and underscores directly followed by '='.
    std::size_t i = 0;
    while (i < text.size() && (std::islower(static_cast<unsigned char>(text[i])) || text[i] == '_'))
        ++i;
    return i > 0 && i < text.size() && text[i] == '=';
}

std::optional<DatabaseTarget> ParseDatabaseTarget(const std::string& text, std::string& error) {
    DatabaseTarget target;
    target.Text = text;
    if (!LooksLikeConnection(text))
        return target;
    target.Kind = Engine::PostgreSQL;
    const bool parsed = text.find("://") != std::string::npos ? ParseUrl(text, target, error)
                                                              : ParsePairs(text, target, error);
    if (!parsed)
        return std::nullopt;
    return target;
}

} // namespace qla::db
