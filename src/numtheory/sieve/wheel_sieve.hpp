// The sieve of Eratosthenes on the wheel of 30: the one sieve of the primes
// up to a bound, for the tables built at start-up, the Goldbach convolution
// and the prime counts.  One byte stands for 30 numbers and holds one bit
// for each of the eight residues prime to 30, so the sieve of the numbers up
// to kTableExtent fits in 65 KiB and never touches a multiple of 2, 3 or 5;
// it runs a segment the size of the first-level cache at a time.  Expanding
// a byte writes all its primes (or all its odd composites) into a table at
// once, from a table of offsets per byte value, so that the tables are
// written directly and no number is looked at twice.
#pragma once

#include <array>
#include <cstdint>

namespace ntb {

// Bit j of byte i stands for the number 30 i + kWheel30[j].
inline constexpr int32_t kWheel30[8] = {1, 7, 11, 13, 17, 19, 23, 29};

// The bit of residue r mod 30, or -1 when r is not prime to 30.
inline constexpr std::array<int8_t, 30> kWheel30Bit = [] {
  std::array<int8_t, 30> b{};
  for (int32_t r = 0; r < 30; ++r) b[r] = -1;
  for (int8_t j = 0; j < 8; ++j) b[kWheel30[j]] = j;
  return b;
}();

// Bytes that hold the numbers 0..limit.
constexpr int32_t wheel_bytes(int32_t limit) {
  return limit / 30 + 1;
}

// Fills composite[0 .. wheel_bytes(limit) - 1]: a bit is set when its number
// is not prime (1 included) or exceeds limit.  0 <= limit <= 2^31 - 30.
void wheel_sieve(uint8_t* composite, int32_t limit);

// Whether n is prime, for 0 <= n below 30 wheel_bytes(limit) of the sieve.
inline bool wheel_is_prime(const uint8_t* composite, uint32_t n) {
  if (n < 7) return n == 2 || n == 3 || n == 5;
  const int32_t j = kWheel30Bit[n % 30];
  return j >= 0 && (composite[n / 30] >> j & 1) == 0;
}

// Appends the primes from 7 to limit, ascending, at out[count + 1], ...,
// never past out[cap]; returns the new count.
int32_t wheel_primes(const uint8_t* composite, int32_t limit, int32_t* out, int32_t count,
                     int32_t cap);

// Appends the odd composites from 9 to hi (hi <= the sieve's limit),
// ascending, at out[count + 1], ..., never past out[cap]; returns the new
// count.  Odd multiples of 3 and 5 are composite without a bit of their own.
int32_t wheel_odd_composites(const uint8_t* composite, int32_t hi, int32_t* out, int32_t count,
                             int32_t cap);

}  // namespace ntb
