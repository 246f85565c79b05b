// Division of whole numbers rounded to the nearest, exact halves to the even neighbour. Ratios
// and shares use it so that 1/8 gives 12 hundredths and 1 kill of 40 gives 2 per cent exactly,
// with none of the drift that rounding a floating-point quotient brings.
#pragma once

#include <cstdint>

namespace qla {

// numerator / denominator rounded half to even; denominator must be above 0. Counters come from
// a log of at most 2^31 lines, so the callers' products (count x 100) stay far inside 64 bits.
constexpr std::int64_t DivideRoundHalfEven(std::int64_t numerator, std::int64_t denominator) {
    std::int64_t quotient = numerator / denominator;  // truncates towards zero
    std::int64_t remainder = numerator % denominator; // same sign as numerator
    const bool negative = remainder < 0;
    if (negative)
        remainder = -remainder;
    // Compare 2r with d without forming 2r, which could overflow for huge denominators.
    const std::int64_t rest = denominator - remainder;
    const bool roundAway = remainder > rest || (remainder == rest && quotient % 2 != 0);
    if (roundAway)
        quotient += negative ? -1 : 1;
    return quotient;
}

} // namespace qla
