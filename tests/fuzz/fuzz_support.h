// What every fuzz target shares: the input as text and the way a broken property is reported.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace qla::fuzz {

inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A broken property is a finding: libFuzzer saves the input when the target aborts.
inline void Require(const std::string& problem) {
    if (problem.empty())
        return;
    std::fprintf(stderr, "property broken: %s\n", problem.c_str());
    std::abort();
}

} // namespace qla::fuzz
