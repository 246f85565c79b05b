// Rows written through each engine's fast path (SQLite's interface, PostgreSQL's COPY) come
// back exactly as they were given, and a row the engine refuses stops the batch with its reason.
#include "db_test_support.h"

#include "db/row_batch.h"
#include "db/stats_database.h"

#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QVariant>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace qla::dbtest {
namespace {

struct Row {
    std::int64_t Number = 0;
    std::string Bytes, Text;
};

class RowBatchTest : public testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        std::string error;
        database_ = db::StatsDatabase::Open(NewDatabase(GetParam(), folder_).toStdString(),
                                            db::OpenMode::ReadWrite, error);
        ASSERT_TRUE(database_) << error;
        QSqlQuery query(database_->Connection());
        ASSERT_TRUE(query.exec("CREATE TABLE batch_rows (id BIGINT PRIMARY KEY, number BIGINT,"
                               " bytes BYTEA NOT NULL, text TEXT NOT NULL)"));
        ASSERT_TRUE(database_->BeginWrite(error)) << error;
    }

    // Writes the rows, each row's bytes and text from one buffer reused for every row, as the
    // import reuses its block of other lines.
    bool Write(const std::vector<Row>& rows, std::string& error) {
        db::RowBatch batch(*database_, "batch_rows", "id, number, bytes, text", 4,
                           "cannot store the test rows");
        std::string bytes, text;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            bytes = rows[i].Bytes;
            text = rows[i].Text;
            if (!batch.Add(static_cast<std::int64_t>(i)) || !batch.Add(rows[i].Number) ||
                !batch.AddBytes(bytes) || !batch.AddText(text)) {
                error = batch.Error();
                EXPECT_FALSE(batch.Add(0)) << "a failed batch takes no more values";
                return false;
            }
        }
        const bool flushed = batch.Flush();
        error = batch.Error();
        return flushed;
    }

    std::vector<Row> ReadBack() {
        QSqlQuery query(database_->Connection());
        EXPECT_TRUE(query.exec("SELECT number, bytes, text FROM batch_rows ORDER BY id"));
        std::vector<Row> rows;
        while (query.next()) {
            const QByteArray bytes = query.value(1).toByteArray();
            EXPECT_FALSE(query.value(1).isNull()) << "row " << rows.size();
            rows.push_back({query.value(0).toLongLong(), bytes.toStdString(),
                            query.value(2).toString().toStdString()});
        }
        return rows;
    }

    TempFolder folder_;
    std::unique_ptr<db::StatsDatabase> database_;
};

TEST_P(RowBatchTest, ValuesComeBackAsTheyWereGivenAcrossManySends) {
    std::vector<Row> rows = {
        {0, "", ""},
        {-1, std::string("\0\t\n\r\\x\xff\x80", 9), "tab\there back\\slash line\nend \rcr"},
        {std::numeric_limits<std::int64_t>::max(), "\\\\x00", "\xc3\xbc\x6d\x6c\x61\x75\x74"},
        {std::numeric_limits<std::int64_t>::min(), "N", "\\N"},
    };
    // Enough bytes that COPY sends its rows in several pieces: each row's hex doubles them.
    for (int i = 0; i < 3000; ++i) {
        std::string bytes(700 + i % 300, '\0');
        for (std::size_t b = 0; b < bytes.size(); ++b)
            bytes[b] = static_cast<char>((b * 7 + static_cast<std::size_t>(i)) & 0xff);
        rows.push_back({i * 1000003LL, bytes, "line " + std::to_string(i)});
    }
    std::string error;
    ASSERT_TRUE(Write(rows, error)) << error;
    ASSERT_TRUE(database_->Commit(error)) << error;
    const std::vector<Row> back = ReadBack();
    ASSERT_EQ(back.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(back[i].Number, rows[i].Number) << "row " << i;
        EXPECT_EQ(back[i].Bytes, rows[i].Bytes) << "row " << i;
        EXPECT_EQ(back[i].Text, rows[i].Text) << "row " << i;
    }
}

// Rows go in statements of many rows: a batch that ends on a statement's last row, just after
// it, or before the first statement is full stores each row once, in its order.
TEST_P(RowBatchTest, RowsAroundAStatementsEndAreEachStoredOnce) {
    for (const int count : {1, 127, 128, 129, 256, 300}) {
        QSqlQuery query(database_->Connection());
        ASSERT_TRUE(query.exec("DELETE FROM batch_rows"));
        std::vector<Row> rows;
        for (int i = 0; i < count; ++i)
            rows.push_back({i * 7LL, std::string(static_cast<std::size_t>(i % 5), 'b'),
                            "row " + std::to_string(i)});
        std::string error;
        ASSERT_TRUE(Write(rows, error)) << error;
        const std::vector<Row> back = ReadBack();
        ASSERT_EQ(back.size(), rows.size()) << count << " rows";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(back[i].Number, rows[i].Number) << count << " rows, row " << i;
            EXPECT_EQ(back[i].Bytes, rows[i].Bytes) << count << " rows, row " << i;
            EXPECT_EQ(back[i].Text, rows[i].Text) << count << " rows, row " << i;
        }
    }
}

TEST_P(RowBatchTest, ARefusedRowStopsTheBatchWithTheEnginesReason) {
    std::string error;
    // The second batch repeats the first one's key: in a last statement of a few rows, and in
    // a full statement of many.
    for (const std::size_t rows : {2, 300}) {
        // A refused row ends the transaction on PostgreSQL: each case writes in one of its own.
        database_->Rollback();
        ASSERT_TRUE(database_->BeginWrite(error)) << error;
        ASSERT_TRUE(Write({{1, "a", "a"}}, error)) << error;
        EXPECT_FALSE(Write(std::vector<Row>(rows, {2, "b", "b"}), error)) << rows << " rows";
        EXPECT_EQ(error.rfind("cannot store the test rows: ", 0), 0u) << error;
        EXPECT_NE(error.find(GetParam() == Engine::SQLite ? "UNIQUE" : "duplicate key"),
                  std::string::npos)
            << error;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, RowBatchTest, kEngines,
                         [](const auto& info) { return EngineName(info.param); });

} // namespace
} // namespace qla::dbtest
