#pragma once

namespace tv::test {

// True in a build under AddressSanitizer or ThreadSanitizer, where every memory access costs
// several times more: tests that render or pass many messages size themselves down there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool underSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool underSanitizer = true;
#else
inline constexpr bool underSanitizer = false;
#endif
#else
inline constexpr bool underSanitizer = false;
#endif

}  // namespace tv::test
