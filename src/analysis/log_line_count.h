// What `qla info` tells about a log, read in pieces so that a log of any size is counted in a
// fixed amount of memory: the same line count and date as opening the whole log gives.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qla {

struct LogFileFacts {
    std::string Error; // empty when the file was read to its end
    std::uint64_t LineCount = 0;
    std::optional<std::string> DateText; // as OpenLogResult::DateText
};

LogFileFacts ReadLogFileFacts(const std::string& path);

} // namespace qla
