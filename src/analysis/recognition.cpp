// The words that name the recognition modes.
#include "analysis/recognition.h"

namespace qla {

std::string_view RecognitionText(Recognition recognition) {
    return recognition == Recognition::Full ? "full" : "classic";
}

std::optional<Recognition> RecognitionFromText(std::string_view text) {
    if (text == "classic")
        return Recognition::Classic;
    if (text == "full")
        return Recognition::Full;
    return std::nullopt;
}

} // namespace qla
