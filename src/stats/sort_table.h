// The statistics table every tabular export is written from. Row 0 is an empty row that belongs
// to no item; items are rows 1 to size()-1. Cell 0 is the sort key.
#pragma once

#include "core/store.h"
#include "stats/orders.h"
#include "stats/ratio.h" // the ratio column of every table

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qla {

struct SortCell {
    std::string Text;
    bool IsNumber = false;
};

struct SortRow {
    std::array<SortCell, 8> Cells;
};

using SortTable = std::vector<SortRow>;

// The number a number cell holds; 0 for a text cell.
inline std::int64_t CellNumber(const SortCell& cell) {
    std::int64_t value = 0;
    std::from_chars(cell.Text.data(), cell.Text.data() + cell.Text.size(), value);
    return value;
}

// Cells as the builders fill them: texts, and numbers as their decimal text.
inline SortCell TextCell(std::string_view text) {
    return {std::string(text), false};
}
inline SortCell NumberCell(std::int64_t value) {
    return {std::to_string(value), true};
}

// Stable ascending sort of rows 1..n by cell 0: numeric keys as numbers, text keys after
// StripColourCodes by code point; ties keep their order. Row 0 never moves.
void SortRows(SortTable& table);

// Calls visit(row) for rows 1..n, or n..1 when not ascending. Row 0 is never read.
template <class Visit> void ReadRows(const SortTable& table, bool ascending, Visit&& visit) {
    const std::size_t n = table.empty() ? 0 : table.size() - 1;
    for (std::size_t k = 1; k <= n; ++k)
        visit(table[ascending ? k : n + 1 - k], ascending ? k : n + 1 - k);
}

// A value outside the enum leaves every row without a key, so they keep appearance order.
SortTable BuildStandardOrder(const AnalysisStore& store, StandardOrder order);

} // namespace qla
