// Multi-row inserts.
#include "db/row_batch.h"

#include <QByteArray>

namespace qla::db {

RowBatch::RowBatch(StatsDatabase& database, const char* table, const char* columns, int columnCount,
                   std::string what)
    : database_(database),
      statementStart_(std::string("INSERT INTO ") + table + " (" + columns + ") VALUES "),
      columnCount_(columnCount), what_(std::move(what)), full_(database.Connection()) {
    sqlite_ = SqliteRows::For(database.Connection(), statementStart_, columnCount);
    if (!sqlite_)
        postgres_ = PostgresRows::For(database.Connection(), table, columns, columnCount);
}

template <typename Rows> bool RowBatch::Took(bool ok, const Rows& rows) {
    if (!ok && error_.empty())
        error_ = what_ + ": " + rows.Error();
    return ok;
}

bool RowBatch::Add(std::int64_t number) {
    if (!error_.empty())
        return false;
    if (sqlite_)
        return Took(sqlite_->AddNumber(number), *sqlite_);
    if (postgres_)
        return Took(postgres_->AddNumber(number), *postgres_);
    return Gather(QVariant::fromValue<qlonglong>(number));
}

bool RowBatch::AddBytes(std::string_view bytes) {
    if (!error_.empty())
        return false;
    if (sqlite_)
        return Took(sqlite_->AddBytes(bytes), *sqlite_);
    if (postgres_)
        return Took(postgres_->AddBytes(bytes), *postgres_);
    // Never a null byte array: an empty value is stored as empty, not as NULL.
    return Gather(
        QByteArray(bytes.empty() ? "" : bytes.data(), static_cast<qsizetype>(bytes.size())));
}

bool RowBatch::AddText(std::string_view utf8) {
    if (!error_.empty())
        return false;
    if (sqlite_)
        return Took(sqlite_->AddText(utf8), *sqlite_);
    if (postgres_)
        return Took(postgres_->AddText(utf8), *postgres_);
    return Gather(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

bool RowBatch::Gather(QVariant value) {
    values_.push_back(std::move(value));
    if (values_.size() == static_cast<std::size_t>(kRowsPerStatement * columnCount_))
        return Write(kRowsPerStatement, full_, fullPrepared_);
    return true;
}

bool RowBatch::Flush() {
    if (!error_.empty())
        return false;
    if (sqlite_ && !sqlite_->Finish()) {
        error_ = what_ + ": " + sqlite_->Error();
        return false;
    }
    if (postgres_ && !postgres_->Finish()) {
        error_ = what_ + ": " + postgres_->Error();
        return false;
    }
    if (values_.empty())
        return true;
    QSqlQuery rest(database_.Connection());
    bool prepared = false;
    return Write(static_cast<int>(values_.size()) / columnCount_, rest, prepared);
}

bool RowBatch::Write(int rows, QSqlQuery& query, bool& prepared) {
    if (!prepared) {
        if (!query.prepare(
                QString::fromStdString(MultiRowInsert(statementStart_, columnCount_, rows)))) {
            error_ = database_.Failure(what_, query);
            return false;
        }
        prepared = true;
    }
    for (std::size_t i = 0; i < values_.size(); ++i)
        query.bindValue(static_cast<int>(i), values_[i]);
    values_.clear();
    if (!query.exec()) {
        error_ = database_.Failure(what_, query);
        return false;
    }
    return true;
}

} // namespace qla::db
