// COPY in text format: a row per line, values apart by tabs, bytes as \\x and hex digits, and
// backslash, tab, line feed and carriage return in texts escaped.
#include "db/postgres_rows.h"

#include <QSqlDriver>
#include <QVariant>

#include <charconv>
#include <cstring>

namespace qla::db {
namespace {

constexpr std::size_t kSendBytes = 1 << 20;

void AppendText(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

void AppendHexBytes(std::string& out, std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += "\\\\x"; // the bytea text form \x..., its backslash escaped for COPY
    std::size_t at = out.size();
    out.resize(at + 2 * bytes.size()); // written in place: a push per digit costs twice as much
    char* digits = out.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        digits[at++] = kDigits[byte >> 4];
        digits[at++] = kDigits[byte & 15];
    }
}

} // namespace

std::unique_ptr<PostgresRows> PostgresRows::For(QSqlDatabase& connection, const std::string& table,
                                                const std::string& columns, int columnCount) {
    const QVariant handle = connection.driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "pg_conn*") != 0)
        return nullptr;
    pg_conn* pg = *static_cast<pg_conn* const*>(handle.constData());
    if (pg == nullptr)
        return nullptr;
    std::string error;
    const auto pq = LoadPostgresLibrary(error);
    std::unique_ptr<PostgresRows> rows(
        new PostgresRows(pq.value_or(PostgresLibrary{}), pg,
                         "COPY " + table + " (" + columns + ") FROM STDIN", columnCount));
    rows->error_ = error; // reported by the first Add, or Finish
    return rows;
}

PostgresRows::~PostgresRows() {
    if (copying_) // never finished: abandon the COPY (the caller's transaction rolls back)
        pq_.PutCopyEnd(connection_, "abandoned");
    if (copying_)
        while (PGresult* result = pq_.GetResult(connection_))
            pq_.Clear(result);
}

bool PostgresRows::Fail(const std::string& what) {
    if (error_.empty()) {
        error_ = what + ": " + pq_.ErrorMessage(connection_);
        while (!error_.empty() && (error_.back() == '\n' || error_.back() == ' '))
            error_.pop_back();
    }
    return false;
}

bool PostgresRows::Begin() {
    if (!error_.empty())
        return false;
    if (!copying_) {
        PGresult* started = pq_.Exec(connection_, copy_.c_str());
        const bool ok = pq_.ResultStatus(started) == PGRES_COPY_IN;
        pq_.Clear(started);
        if (!ok)
            return Fail("cannot start the copy");
        copying_ = true;
    }
    if (column_ > 0)
        buffer_ += '\t';
    return true;
}

bool PostgresRows::Next() {
    if (++column_ < columnCount_)
        return true;
    column_ = 0;
    buffer_ += '\n';
    return buffer_.size() < kSendBytes || Send();
}

bool PostgresRows::AddNumber(std::int64_t value) {
    if (!Begin())
        return false;
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    buffer_.append(digits, end);
    return Next();
}

bool PostgresRows::AddBytes(std::string_view bytes) {
    if (!Begin())
        return false;
    AppendHexBytes(buffer_, bytes);
    return Next();
}

bool PostgresRows::AddText(std::string_view utf8) {
    if (!Begin())
        return false;
    AppendText(buffer_, utf8);
    return Next();
}

bool PostgresRows::Send() {
    if (!buffer_.empty() &&
        pq_.PutCopyData(connection_, buffer_.data(), static_cast<int>(buffer_.size())) != 1)
        return Fail("cannot send the rows");
    buffer_.clear();
    return true;
}

bool PostgresRows::Finish() {
    if (!copying_)
        return error_.empty();
    if (!error_.empty())
        return false;
    if (!Send())
        return false;
    copying_ = false;
    if (pq_.PutCopyEnd(connection_, nullptr) != 1)
        return Fail("cannot end the copy");
    bool ok = true;
    while (PGresult* result = pq_.GetResult(connection_)) {
        if (pq_.ResultStatus(result) != PGRES_COMMAND_OK && ok) {
            ok = false;
            error_ = pq_.ResultErrorMessage(result);
            while (!error_.empty() && (error_.back() == '\n' || error_.back() == ' '))
                error_.pop_back();
        }
        pq_.Clear(result);
    }
    return ok;
}

} // namespace qla::db
