#pragma once

namespace twinscan::test {

// AddressSanitizer maps terabytes of shadow memory and needs more as threads start, so a test that
// caps the address space or the data segment cannot run under it.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool addressSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool addressSanitized = true;
#else
inline constexpr bool addressSanitized = false;
#endif
#else
inline constexpr bool addressSanitized = false;
#endif

} // namespace twinscan::test
