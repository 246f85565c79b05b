// Case folding over UTF-8, for comparing player names regardless of case.
#pragma once

#include <string>
#include <string_view>

namespace qla {

// Case folding for comparing names regardless of case (case_fold.cpp says which letters fold):
// "Ärger", "ÄRGER" and "ärger" fold alike, as do "Ωmega"/"ωMEGA" and "Иван"/"ИВАН". Bytes that
// are not UTF-8 are kept as they are.
std::string FoldCase(std::string_view text);
// The simple case folding of one code point (without the "ß" to "ss" rule of FoldCase).
char32_t FoldCodePoint(char32_t codePoint);

} // namespace qla
