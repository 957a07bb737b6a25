// Decimal text of 128-bit integers, a digit at a time: the numbers are at
// most 39 digits long, so the plain loops are fast enough.
#include "numtheory/uint128_text.hpp"

#include <algorithm>

namespace ntb {

std::string to_decimal(uint128 v) {
  std::string s;
  do {
    s.push_back(static_cast<char>('0' + static_cast<int>(v % 10)));
    v /= 10;
  } while (v != 0);
  std::reverse(s.begin(), s.end());
  return s;
}

std::optional<uint128> parse_decimal(std::string_view text) {
  if (text.empty()) return std::nullopt;
  constexpr uint128 kMax = ~uint128{0};
  uint128 v = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    const unsigned digit = static_cast<unsigned>(c - '0');
    if (v > (kMax - digit) / 10) return std::nullopt;
    v = v * 10 + digit;
  }
  return v;
}

}  // namespace ntb
