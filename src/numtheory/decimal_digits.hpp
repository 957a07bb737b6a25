// The decimal digits of an unsigned whole number, written backwards into the
// end of a buffer: the one digit writer of the records (io) and of the
// command line's output (cli).  Written by hand because a listing of
// millions of numbers should spend its time in the sieve, not in printf.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ntb {

using uint128 = unsigned __int128;

// The most digits of a 64-bit and of a 128-bit unsigned number.
inline constexpr int kMaxDigits64 = 20;
inline constexpr int kMaxDigits128 = 39;

// Writes the digits of v so that the last one is at end[-1]; returns a
// pointer to the first.  The buffer must hold kMaxDigits64 characters.
inline char* decimal_digits(uint64_t v, char* end) {
  do {
    *--end = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  return end;
}

// The same for 128 bits (kMaxDigits128 characters): 19 digits at a time by
// one 128-bit division each, the rest by 64-bit divisions.
inline char* decimal_digits(unsigned __int128 v, char* end) {
  constexpr uint64_t kChunk = 10000000000000000000ULL;  // 10^19
  while (v > UINT64_MAX) {
    auto low = static_cast<uint64_t>(v % kChunk);
    v /= kChunk;
    for (int i = 0; i < 19; ++i) {
      *--end = static_cast<char>('0' + low % 10);
      low /= 10;
    }
  }
  return decimal_digits(static_cast<uint64_t>(v), end);
}

// The digits as a string, for messages.
inline std::string decimal_string(unsigned __int128 v) {
  char buf[kMaxDigits128];
  char* const end = buf + sizeof buf;
  return std::string(decimal_digits(v, end), end);
}

// The value of a plain decimal: digits only, leading zeros of any length, at
// most `max`; anything else (an empty text too) is nullopt.
inline std::optional<uint128> parse_plain_decimal(std::string_view text, uint128 max) {
  if (text.empty()) return std::nullopt;
  uint128 v = 0;
  for (const char ch : text) {
    if (ch < '0' || ch > '9') return std::nullopt;
    const auto d = static_cast<unsigned>(ch - '0');
    if (d > max || v > (max - d) / 10) return std::nullopt;
    v = v * 10 + d;
  }
  return v;
}

}  // namespace ntb
