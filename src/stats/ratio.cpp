// The kill/death ratio in hundredths and its decimal text.
#include "stats/ratio.h"
#include "stats/whole_division.h"

namespace qla {

std::int64_t KillDeathRatio(std::int64_t kills, std::int64_t deaths) {
    if (deaths == 0)
        return kills * 100; // the ratio equals the number of kills
    return DivideRoundHalfEven(kills * 100, deaths);
}

std::string RatioText(std::int64_t hundredths, std::string_view decimalSeparator) {
    std::string text;
    // Work on the magnitude as unsigned so that the most negative value needs no special case.
    auto magnitude = static_cast<std::uint64_t>(hundredths);
    if (hundredths < 0) {
        text.push_back('-');
        magnitude = 0 - magnitude;
    }
    text += std::to_string(magnitude / 100);
    const auto fraction = static_cast<unsigned>(magnitude % 100);
    if (fraction != 0) {
        text += decimalSeparator;
        text.push_back(static_cast<char>('0' + fraction / 10));
        if (fraction % 10 != 0) // shortest text: "1.5", not "1.50"
            text.push_back(static_cast<char>('0' + fraction % 10));
    }
    return text;
}

} // namespace qla
