// Whether the tests were built with the address sanitizer, which reserves terabytes of address
// space and changes how long a process takes: tests that bound a process's address space or time
// its moments skip or widen their bounds then.
#pragma once

namespace qla {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

} // namespace qla
