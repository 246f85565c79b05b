// Edit distance over ASCII-lowered text: option names and values are ASCII.
#include "cli/nearest_choice.h"

#include <algorithm>
#include <cctype>

namespace qla::cli {

namespace {

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const std::size_t change = diagonal + (Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1);
            row[j] = std::min({above + 1, row[j - 1] + 1, change});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::optional<std::string> NearestChoice(std::string_view given,
                                         const std::vector<std::string>& choices) {
    const std::string* best = nullptr;
    std::size_t bestDistance = 0;
    for (const std::string& choice : choices) {
        const std::size_t distance = EditDistance(given, choice);
        if (best == nullptr || distance < bestDistance) {
            best = &choice;
            bestDistance = distance;
        }
    }
    if (best == nullptr || bestDistance > 2 || 2 * bestDistance >= given.size())
        return std::nullopt;
    return *best;
}

std::string DidYouMean(std::string_view given, const std::vector<std::string>& choices) {
    const auto nearest = NearestChoice(given, choices);
    return nearest ? " (did you mean '" + *nearest + "'?)" : std::string();
}

} // namespace qla::cli
