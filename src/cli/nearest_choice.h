// "Did you mean ...?": the valid choice closest to a mistyped one.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qla::cli {

// The choice nearest to `given` by edit distance (case ignored), when it is near enough to be
// a typing slip: at most 2 edits, and fewer than half the given word's length.
std::optional<std::string> NearestChoice(std::string_view given,
                                         const std::vector<std::string>& choices);

// " (did you mean 'x'?)" for the nearest choice, or nothing.
std::string DidYouMean(std::string_view given, const std::vector<std::string>& choices);

} // namespace qla::cli
