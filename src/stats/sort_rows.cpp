// The stable ascending sort of a statistics table by its key cell.
//
// The order is that of an exchange sort which swaps neighbours only when the first key is
// strictly greater: numeric keys compare as numbers, text keys as their colour-stripped text by
// code point, and equal keys never pass each other. A stable sort with the same comparison gives
// the same order in O(n log n). Keys are prepared once per sort, not once per comparison.
#include "stats/sort_table.h"

#include "core/names.h"

#include <algorithm>
#include <charconv>
#include <numeric>

namespace qla {
namespace {

struct SortKey {
    bool isNumber = false;
    std::int64_t number = 0;
    bool hasCodes = false; // text holds a "^", so it is compared through `stripped`
    std::string stripped;
    std::string_view text;
};

bool ParseWholeNumber(std::string_view text, std::int64_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc{} && ptr == end && !text.empty();
}

// Builders only make tables whose keys are all numbers or all texts. Should a table mix them,
// numbers come before texts so that the order stays a strict weak order; a "numeric" key that is
// no whole number is compared as text.
bool KeyLess(const SortKey& a, const SortKey& b) {
    if (a.isNumber != b.isNumber)
        return a.isNumber;
    if (a.isNumber)
        return a.number < b.number;
    // std::string_view compares bytes as unsigned char: UTF-8 byte order is code point order.
    return a.text < b.text;
}

} // namespace

void SortRows(SortTable& table) {
    if (table.size() < 3) // row 0 plus at most one item: nothing to order
        return;
    const std::size_t count = table.size();

    std::vector<SortKey> keys(count);
    for (std::size_t row = 1; row < count; ++row) {
        const SortCell& cell = table[row].Cells[0];
        SortKey& key = keys[row];
        key.isNumber = cell.IsNumber && ParseWholeNumber(cell.Text, key.number);
        key.hasCodes = !key.isNumber && cell.Text.find('^') != std::string::npos;
        if (key.hasCodes)
            key.stripped = StripColourCodes(cell.Text);
    }
    // Views are taken only now: `keys` no longer grows, so the stripped texts stay in place.
    for (std::size_t row = 1; row < count; ++row) {
        SortKey& key = keys[row];
        if (!key.isNumber)
            key.text = key.hasCodes ? std::string_view(key.stripped)
                                    : std::string_view(table[row].Cells[0].Text);
    }

    std::vector<std::size_t> order(count - 1);
    std::iota(order.begin(), order.end(), std::size_t{1});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::size_t a, std::size_t b) { return KeyLess(keys[a], keys[b]); });

    SortTable sorted;
    sorted.reserve(count);
    sorted.push_back(std::move(table[0]));
    for (const std::size_t row : order)
        sorted.push_back(std::move(table[row]));
    table = std::move(sorted);
}

} // namespace qla
