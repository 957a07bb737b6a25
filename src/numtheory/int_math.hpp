// Small integer helpers that every floor needs: holding a wide value in a
// 32-bit field, and the integer square root used to bound trial division.  The program's counters
// and report fields are 32-bit integers, while sums, quotients and counts on an edited table can
// pass that range; a value out of range is held at its nearest bound rather than wrapped.
#pragma once

#include <cmath>
#include <cstdint>

namespace ntb {

// v held at the nearest bound of the 32-bit range.
constexpr int32_t saturate32(int64_t v) {
  return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : static_cast<int32_t>(v);
}

// A whole-number double in a 32-bit field: truncated toward zero, held at the
// nearest bound when out of range; NaN gives 0.
constexpr int32_t saturate32(double v) {
  if (v != v) return 0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// trunc(sqrt(c)) taken through a double, for c from 0 to 2^31: the bound of
// a trial division by the entries of y.
inline int32_t isqrt(int64_t c) {
  return static_cast<int32_t>(std::sqrt(static_cast<double>(c)));
}

}  // namespace ntb
