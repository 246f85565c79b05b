// The joining and blank rules of the text exports.
#pragma once

#include "export/output_file.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace qla {

// The selected values in column order, with `separator` between two of them and nowhere else.
template <std::size_t N>
std::string JoinColumns(const std::array<bool, N>& selected,
                        const std::array<std::string_view, N>& values, std::string_view separator) {
    std::string line;
    bool first = true;
    for (std::size_t c = 0; c < N; ++c) {
        if (!selected[c])
            continue;
        if (!first)
            line += separator;
        line += values[c];
        first = false;
    }
    return line;
}

// A data row that is empty once spaces are trimmed off is not written.
void WriteUnlessBlank(StagedFile& file, std::string_view row);

} // namespace qla
