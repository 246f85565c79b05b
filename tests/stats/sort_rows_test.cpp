// The order of SortRows: numbers against texts, colour codes and case, stable ties, row 0, and
// agreement with a literal neighbour-exchange sort on random tables.
#include "stats/sort_table.h"
#include "test_store.h"

#include "core/names.h"

#include <gtest/gtest.h>

#include <random>

namespace qla {
namespace {

using test::Column;
using test::Texts;

// Row k (k >= 1) gets the key and cell 1 = "k", so the cell shows where a row was created.
SortTable TableOf(const std::vector<SortCell>& keys) {
    SortTable table(1);
    for (const SortCell& key : keys) {
        SortRow row;
        row.Cells[0] = key;
        row.Cells[1] = TextCell(std::to_string(table.size()));
        table.push_back(row);
    }
    return table;
}

SortTable SortedTable(const std::vector<SortCell>& keys) {
    SortTable table = TableOf(keys);
    SortRows(table);
    return table;
}

TEST(SortRowsTest, NumericKeysCompareAsNumbers) {
    const SortTable table = SortedTable({NumberCell(10), NumberCell(9), NumberCell(100)});
    EXPECT_EQ(Column(table, 0), (Texts{"9", "10", "100"}));
}

TEST(SortRowsTest, TheSameDigitsAsTextCompareByCharacter) {
    const SortTable table = SortedTable({TextCell("10"), TextCell("9"), TextCell("100")});
    EXPECT_EQ(Column(table, 0), (Texts{"10", "100", "9"}));
}

TEST(SortRowsTest, NumbersBeyondSixteenBitsAndNegativeNumbers) {
    const SortTable table = SortedTable({NumberCell(40000), NumberCell(-3), NumberCell(32767),
                                         NumberCell(5'000'000'000), NumberCell(0)});
    EXPECT_EQ(Column(table, 0), (Texts{"-3", "0", "32767", "40000", "5000000000"}));
}

TEST(SortRowsTest, NamesIgnoreColourCodesAndKeepCase) {
    const SortTable table = SortedTable({TextCell("^1Zed"), TextCell("alpha"), TextCell("Adam")});
    EXPECT_EQ(Column(table, 0), (Texts{"Adam", "^1Zed", "alpha"}));
    EXPECT_EQ(Column(table, 0, false), (Texts{"alpha", "^1Zed", "Adam"}));
}

TEST(SortRowsTest, EmptyFirstThenPrefixBeforeItsExtensions) {
    const SortTable table = SortedTable(
        {TextCell("abc"), TextCell("ab"), TextCell("^7"), TextCell("abc^2d"), TextCell("")});
    // "^7" strips to the empty text, like "": both come first, in creation order.
    EXPECT_EQ(Column(table, 1), (Texts{"3", "5", "2", "1", "4"}));
}

TEST(SortRowsTest, ColourCodesAreStrippedButACaretWithoutCodeIsKept) {
    // "^x" is no colour code, so "^xb" keeps its caret, which sorts before letters.
    const SortTable table = SortedTable({TextCell("b"), TextCell("^xb"), TextCell("^^1a")});
    EXPECT_EQ(Column(table, 0), (Texts{"^^1a", "^xb", "b"}));
}

TEST(SortRowsTest, TextOrderIsByCodePoint) {
    // U+00E9 and U+20AC come after every ASCII letter; U+10348 (4 bytes) after U+FFFD.
    const SortTable table =
        SortedTable({TextCell("\xF0\x90\x8D\x88"), TextCell("\xE2\x82\xAC"), TextCell("\xC3\xA9"),
                     TextCell("z"), TextCell("\xEF\xBF\xBD")});
    EXPECT_EQ(Column(table, 1), (Texts{"4", "3", "2", "5", "1"}));
}

TEST(SortRowsTest, TiesKeepCreationOrderAndReverseWhenReadDescending) {
    const SortTable table =
        SortedTable({NumberCell(5), NumberCell(3), NumberCell(5), NumberCell(3), NumberCell(5)});
    EXPECT_EQ(Column(table, 1), (Texts{"2", "4", "1", "3", "5"}));
    EXPECT_EQ(Column(table, 1, false), (Texts{"5", "3", "1", "4", "2"}));
}

TEST(SortRowsTest, RowZeroStaysEmptyAndFirst) {
    SortTable table = TableOf({TextCell(""), TextCell("^1"), NumberCell(-7)});
    SortRows(table);
    ASSERT_EQ(table.size(), 4u);
    for (const SortCell& cell : table[0].Cells) {
        EXPECT_EQ(cell.Text, "");
        EXPECT_FALSE(cell.IsNumber);
    }
}

TEST(SortRowsTest, EmptyAndSingleRowTablesAreLeftAlone) {
    SortTable empty;
    SortRows(empty);
    EXPECT_TRUE(empty.empty());
    SortTable onlyRowZero(1);
    SortRows(onlyRowZero);
    EXPECT_EQ(onlyRowZero.size(), 1u);
    SortTable one = TableOf({NumberCell(1)});
    SortRows(one);
    EXPECT_EQ(Column(one, 1), (Texts{"1"}));
}

TEST(SortRowsTest, WholeRowsMoveTogether) {
    SortTable table(1);
    for (int k : {3, 1, 2}) {
        SortRow row;
        row.Cells[0] = NumberCell(k);
        for (int c = 1; c < 8; ++c)
            row.Cells[c] = TextCell(std::to_string(k * 10 + c));
        table.push_back(row);
    }
    SortRows(table);
    for (std::size_t r = 1; r <= 3; ++r)
        for (int c = 1; c < 8; ++c)
            EXPECT_EQ(table[r].Cells[c].Text, std::to_string(r * 10 + c));
}

TEST(SortRowsTest, MixedKeysPutNumbersBeforeTexts) {
    // Builders never mix; the order is still total. "x" marked numeric is no number: text.
    const SortTable table = SortedTable(
        {TextCell("b"), NumberCell(2), SortCell{"x", true}, NumberCell(1), TextCell("a")});
    EXPECT_EQ(Column(table, 0), (Texts{"1", "2", "a", "b", "x"}));
}

// The neighbour-exchange sort written out: swap the first pair whose left key is strictly
// greater, then scan again from row 0, until a scan swaps nothing.
void ExchangeSort(SortTable& table) {
    const auto greater = [](const SortCell& a, const SortCell& b) {
        if (a.IsNumber)
            return std::stoll(a.Text) > std::stoll(b.Text);
        return StripColourCodes(a.Text) > StripColourCodes(b.Text);
    };
    for (bool swapped = true; swapped;) {
        swapped = false;
        for (std::size_t i = 0; i + 1 < table.size(); ++i) {
            if (greater(table[i].Cells[0], table[i + 1].Cells[0])) {
                std::swap(table[i], table[i + 1]);
                swapped = true;
                break;
            }
        }
    }
}

TEST(SortRowsTest, AgreesWithTheExchangeSortOnRandomTables) {
    std::mt19937 random(20240611);
    const std::vector<std::string> pieces = {"", "a", "A", "b", "^1", "^a", "Z", "ab", "^", "1"};
    for (int round = 0; round < 300; ++round) {
        const bool numeric = round % 2 == 0;
        const int rows = static_cast<int>(random() % 25);
        std::vector<SortCell> keys;
        for (int r = 0; r < rows; ++r) {
            if (numeric) {
                keys.push_back(NumberCell(static_cast<std::int64_t>(random() % 9) - 2));
            } else {
                std::string text;
                for (unsigned n = random() % 4; n > 0; --n)
                    text += pieces[random() % pieces.size()];
                keys.push_back(TextCell(text));
            }
        }
        SortTable expected = TableOf(keys);
        ExchangeSort(expected);
        const SortTable actual = SortedTable(keys);
        ASSERT_EQ(Column(actual, 1), Column(expected, 1)) << "round " << round;
    }
}

} // namespace
} // namespace qla
