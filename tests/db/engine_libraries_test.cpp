// The engines' client libraries are looked up when used, not linked: the functions found must
// work, and the program must start without either library (libpq alone brought fifteen
// libraries and 7 MB into every process).
#include "db/engine_libraries.h"

#include <QProcess>
#include <QString>

#include <gtest/gtest.h>

namespace qla::db {
namespace {

TEST(EngineLibraries, SqliteFunctionsAreFoundAndAnswer) {
    std::string error;
    const auto sqlite = LoadSqliteLibrary(error);
    ASSERT_TRUE(sqlite) << error;
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite->OpenV2(":memory:", &connection, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr),
              SQLITE_OK);
    sqlite3_stmt* query = nullptr;
    ASSERT_EQ(sqlite->PrepareV2(connection, "SELECT ? + 1, x'00ff'", -1, &query, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite->BindInt64(query, 1, 41), SQLITE_OK);
    ASSERT_EQ(sqlite->Step(query), SQLITE_ROW);
    EXPECT_EQ(sqlite->ColumnInt64(query, 0), 42);
    EXPECT_EQ(sqlite->ColumnBytes(query, 1), 2);
    EXPECT_EQ(static_cast<const unsigned char*>(sqlite->ColumnBlob(query, 1))[1], 0xff);
    EXPECT_EQ(sqlite->Step(query), SQLITE_DONE);
    sqlite->Finalize(query);
    // A failure's message comes through the same library.
    EXPECT_NE(sqlite->PrepareV2(connection, "SELECT FROM", -1, &query, nullptr), SQLITE_OK);
    EXPECT_NE(std::string(sqlite->ErrorMessage(connection)).find("syntax"), std::string::npos);
    EXPECT_EQ(sqlite->Close(connection), SQLITE_OK);
}

TEST(EngineLibraries, PostgresFunctionsAreFound) {
    std::string error;
    const auto pq = LoadPostgresLibrary(error);
    ASSERT_TRUE(pq) << error;
    // libpq's documented answers without a connection: no server is needed to call them.
    EXPECT_EQ(pq->ResultStatus(nullptr), PGRES_FATAL_ERROR);
    EXPECT_NE(std::string(pq->ErrorMessage(nullptr)).find("NULL"), std::string::npos);
    pq->Clear(nullptr);
    for (const void* function :
         {reinterpret_cast<const void*>(pq->Exec), reinterpret_cast<const void*>(pq->PutCopyData),
          reinterpret_cast<const void*>(pq->PutCopyEnd),
          reinterpret_cast<const void*>(pq->GetResult),
          reinterpret_cast<const void*>(pq->ResultErrorMessage)})
        EXPECT_NE(function, nullptr);
}

TEST(EngineLibraries, TheProgramStartsWithoutEitherLibrary) {
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), QStringLiteral(QLA_BINARY)});
    ASSERT_TRUE(readelf.waitForFinished(30000));
    const std::string dynamic = readelf.readAllStandardOutput().toStdString();
    ASSERT_NE(dynamic.find("(NEEDED)"), std::string::npos) << dynamic;
    EXPECT_EQ(dynamic.find("libpq"), std::string::npos) << dynamic;
    EXPECT_EQ(dynamic.find("libsqlite3"), std::string::npos) << dynamic;
}

} // namespace
} // namespace qla::db
