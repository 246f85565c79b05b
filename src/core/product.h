// The facts that name this program: its version (from the CMake project version), its home
// page and the game title a new page carries until the user types one.
#pragma once

#include <string_view>

namespace qla {

inline constexpr int kVersionMajor = QLA_VERSION_MAJOR;
inline constexpr int kVersionMinor = QLA_VERSION_MINOR;
inline constexpr int kVersionRevision = QLA_VERSION_PATCH;

inline constexpr std::string_view kHomePage = "https://quarvel.example.org";
inline constexpr std::string_view kPlaceholderGameTitle = "__type here the game title__";

} // namespace qla
