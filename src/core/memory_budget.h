// Whether a file can be read into memory at all, asked before trying: a log larger than the
// machine's memory, or than the address space the process is allowed, is refused at once instead
// of being read until an allocation fails.
#pragma once

#include <cstdint>

namespace qla {

// False when `bytes` exceed the process's address-space limit or the machine's memory and swap
// together. True does not promise the allocation succeeds; callers still handle its failure.
bool MightHoldBytes(std::uint64_t bytes);

} // namespace qla
