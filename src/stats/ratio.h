// The kill/death ratio: exact hundredths and the decimal text every export writes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qla {

// kills x 100 / deaths in hundredths, rounded to nearest with halves to even; kills x 100
// when deaths is 0. Exact integer arithmetic.
std::int64_t KillDeathRatio(std::int64_t kills, std::int64_t deaths);

// hundredths / 100 as the shortest decimal text: 150 -> "1.5", 200 -> "2", 5 -> "0.05".
std::string RatioText(std::int64_t hundredths, std::string_view decimalSeparator);

} // namespace qla
