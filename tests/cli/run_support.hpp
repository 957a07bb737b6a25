// The one-shot commands run in-process: argv and standard input in, the
// status and both output channels out; and the primality test the tests
// take as their reference.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/run.hpp"

namespace ntb::cli::test {

struct Result {
  int status;
  std::string out, err;
};

inline Result run(std::vector<std::string> args, std::string in = "") {
  Result r;
  r.status = run_in_memory(args, in, r.out, r.err);
  return r;
}

// Whether n is prime: Miller-Rabin to the first twelve primes, which admit
// no composite below 2^64.
inline bool strong_prime(uint64_t n) {
  if (n < 2) return false;
  const uint64_t bases[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
  for (const uint64_t p : bases)
    if (n % p == 0) return n == p;
  uint64_t d = n - 1;
  int s = 0;
  while (d % 2 == 0) d /= 2, ++s;
  const auto mul = [n](uint64_t a, uint64_t b) {
    return static_cast<uint64_t>(static_cast<unsigned __int128>(a) * b % n);
  };
  for (const uint64_t a : bases) {
    uint64_t x = 1, b = a;
    for (uint64_t e = d; e > 0; e >>= 1, b = mul(b, b))
      if (e & 1) x = mul(x, b);
    if (x == 1 || x == n - 1) continue;
    bool composite = true;
    for (int i = 1; i < s && composite; ++i) composite = (x = mul(x, x)) != n - 1;
    if (composite) return false;
  }
  return true;
}

}  // namespace ntb::cli::test
