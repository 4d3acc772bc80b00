#pragma once

namespace testing_support {

// Time bounds of speed tests are written for optimised builds; instrumented (sanitizer) debug
// builds run many times slower, so their bounds are scaled by this factor.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr long long timingScale = 20;
#else
inline constexpr long long timingScale = 1;
#endif

} // namespace testing_support
