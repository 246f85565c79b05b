// Spearman's rank correlation, for tests that hold a measured order to a true one.
#pragma once

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

namespace qla::testing_support {

// The correlation of the ranks of the pairs' first values with those of their second values
// (ties broken by position): 1 when both order the pairs alike, -1 when opposite.
inline double SpearmanCorrelation(const std::vector<std::pair<double, double>>& pairs) {
    const auto ranks = [&](bool second) {
        std::vector<std::size_t> order(pairs.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return second ? pairs[a].second < pairs[b].second : pairs[a].first < pairs[b].first;
        });
        std::vector<double> rank(pairs.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            rank[order[i]] = static_cast<double>(i);
        return rank;
    };
    const std::vector<double> a = ranks(false), b = ranks(true);
    double sum = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i)
        sum += (a[i] - b[i]) * (a[i] - b[i]);
    const double n = static_cast<double>(pairs.size());
    return 1 - 6 * sum / (n * (n * n - 1));
}

} // namespace qla::testing_support
