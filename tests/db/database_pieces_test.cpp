// The pieces of an import (complete lines, chunks), log dates, and the schema version check.
#include "db/log_date.h"
#include "db/log_piece.h"
#include "db/schema.h"
#include "db/stats_database.h"
#include "db_test_support.h"

#include <gtest/gtest.h>

#include <QSqlQuery>

namespace qla::db {
namespace {

TEST(LogPieces, CompleteLinesEndAtACertainLineEnd) {
    EXPECT_EQ(CompleteLinesLength(""), 0u);
    EXPECT_EQ(CompleteLinesLength("abc"), 0u);
    EXPECT_EQ(CompleteLinesLength("a\nbc"), 2u);
    EXPECT_EQ(CompleteLinesLength("a\r\nb\r\n"), 6u);
    EXPECT_EQ(CompleteLinesLength("a\r\nb\r"), 3u); // the last CR may be half a CR LF
    EXPECT_EQ(CompleteLinesLength("a\r\r"), 2u);    // a CR followed by a byte is certain
    EXPECT_EQ(CompleteLinesLength("a\rb"), 2u);
}

TEST(LogPieces, ChunksCutAfterWholeLinesOnly) {
    std::string lines;
    for (int i = 0; i < 500; ++i)
        lines += "line " + std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    for (std::size_t target : {1u, 7u, 64u, 1000u, 100000u}) {
        const auto chunks = SplitIntoChunks(lines, target);
        std::string joined;
        std::uint64_t ends = 0;
        for (std::string_view chunk : chunks) {
            ASSERT_FALSE(chunk.empty());
            EXPECT_TRUE(chunk.back() == '\n' || chunk.back() == '\r');
            EXPECT_FALSE(chunk.back() == '\r' && lines.size() > joined.size() + chunk.size() &&
                         lines[joined.size() + chunk.size()] == '\n')
                << "a CR LF was cut";
            joined += chunk;
            ends += CountLineEnds(chunk);
        }
        EXPECT_EQ(joined, lines);
        EXPECT_EQ(ends, 500u);
    }
}

// Counted against a byte-by-byte reading: every mix of LF, CR and other bytes up to nine bytes
// long (word edges and tails), and long texts with line ends in every position of a word.
TEST(LogPieces, LineEndsCountEachCrLfOnce) {
    const auto byteByByte = [](std::string_view bytes) {
        std::uint64_t count = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\n' ||
                (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')))
                ++count;
        return count;
    };
    const char alphabet[] = {'\n', '\r', 'a', '\x8a'}; // and a byte with the high bit set
    for (std::size_t length = 0; length <= 9; ++length) {
        std::vector<std::size_t> digit(length, 0);
        for (;;) {
            std::string text;
            for (const std::size_t d : digit)
                text += alphabet[d];
            ASSERT_EQ(CountLineEnds(text), byteByByte(text)) << ::testing::PrintToString(text);
            std::size_t k = 0;
            while (k < length && ++digit[k] == 4)
                digit[k++] = 0;
            if (k == length)
                break;
        }
    }
    std::string log;
    for (int i = 0; i < 5000; ++i)
        log += std::string(static_cast<std::size_t>(i % 23), '\xff') + (i % 5 == 0   ? "\r\n"
                                                                        : i % 7 == 0 ? "\r"
                                                                                     : "\n");
    EXPECT_EQ(CountLineEnds(log), byteByByte(log));
    EXPECT_EQ(CountLineEnds(std::string_view(log).substr(3)),
              byteByByte(std::string_view(log).substr(3)));
}

// A log's CRC is joined from its chunks' CRCs: the same as reading the bytes through, from the
// start or going on from an earlier import's CRC, empty pieces included.
TEST(LogPieces, JoinedCrcsAreTheCrcOfTheWhole) {
    const std::string before = "imported earlier\n";
    std::string log;
    for (int i = 0; i < 3000; ++i)
        log += "line " + std::to_string(i * 7919) + "\n";
    for (const std::size_t target : {0u, 1u, 100u, 4096u, 100000u}) {
        for (const std::uint32_t start : {0u, ExtendCrc(0, before)}) {
            std::uint32_t joined = start;
            for (const std::string_view chunk : SplitIntoChunks(log, target))
                joined = JoinCrc(joined, ExtendCrc(0, chunk), chunk.size());
            EXPECT_EQ(joined, ExtendCrc(start, log)) << target;
        }
    }
    EXPECT_EQ(JoinCrc(ExtendCrc(0, before), ExtendCrc(0, ""), 0), ExtendCrc(0, before));
    EXPECT_EQ(ExtendCrc(ExtendCrc(0, before), log), ExtendCrc(0, before + log));
}

TEST(LogDates, HeaderAndBoundsRead) {
    EXPECT_EQ(SortableLogDate("Sun May 14 15:19:28 2006"), "2006-05-14 15:19:28");
    EXPECT_EQ(SortableLogDate("Mon Jan  2 08:00:00 2007"), "2007-01-02 08:00:00");
    EXPECT_EQ(SortableLogDate("Mon Feb 29 08:00:00 2007"), std::nullopt); // no such day
    EXPECT_EQ(SortableLogDate("sometime in May"), std::nullopt);
    EXPECT_EQ(DateBound("2006-05-14", false), "2006-05-14 00:00:00");
    EXPECT_EQ(DateBound("2006-05-14", true), "2006-05-14 23:59:59");
    EXPECT_EQ(DateBound("2006-05-14 15:19", true), "2006-05-14 15:19:59");
    EXPECT_EQ(DateBound("2006-05-14T15:19:28", false), "2006-05-14 15:19:28");
    for (const char* bad : {"14.05.2006", "2006-13-01", "2006-05-14 25:00", "2006-05-14x", ""})
        EXPECT_EQ(DateBound(bad, false), std::nullopt) << bad;
}

TEST(Schema, AnotherVersionIsRefusedWithItsNumber) {
    dbtest::TempFolder folder;
    const std::string path = folder.Path("stats.db");
    std::string error;
    {
        auto database = StatsDatabase::Open(path, OpenMode::ReadWrite, error);
        ASSERT_TRUE(database) << error;
        QSqlQuery(database->Connection())
            .exec(QString("UPDATE qla_meta SET value = '%1' WHERE name = 'schema_version'")
                      .arg(kSchemaVersion + 1));
    }
    EXPECT_FALSE(StatsDatabase::Open(path, OpenMode::ReadOnly, error));
    EXPECT_EQ(error, "the database " + path + " has schema version " +
                         std::to_string(kSchemaVersion + 1) + "; this qla reads versions 1 to " +
                         std::to_string(kSchemaVersion));
}

} // namespace
} // namespace qla::db
