// The exit status of every qla command: 0 done, 1 failed, 2 a usage error.
#pragma once

namespace qla::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

} // namespace qla::cli
