// The memory budget from getrlimit() and sysinfo().
#include "core/memory_budget.h"

#include <algorithm>

#if defined(__linux__)
#include <sys/resource.h>
#include <sys/sysinfo.h>
#endif

namespace qla {

bool MightHoldBytes(std::uint64_t bytes) {
#if defined(__linux__)
    std::uint64_t budget = UINT64_MAX;
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        budget = static_cast<std::uint64_t>(limit.rlim_cur);
    struct sysinfo machine {};
    if (::sysinfo(&machine) == 0) {
        const std::uint64_t unit = machine.mem_unit == 0 ? 1 : machine.mem_unit;
        budget = std::min<std::uint64_t>(
            budget, (static_cast<std::uint64_t>(machine.totalram) + machine.totalswap) * unit);
    }
    return bytes < budget;
#else
    (void)bytes;
    return true;
#endif
}

} // namespace qla
