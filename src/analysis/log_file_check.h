// The check every log path goes through before it is read.
#pragma once

#include <string>

namespace qla {

// Why `path` cannot be opened as a log ("The file does not exist: PATH", ...); empty when it can.
std::string OpenProblem(const std::string& path);

} // namespace qla
