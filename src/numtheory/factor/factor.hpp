// Prime factorization of one 32-bit integer by trial division, and ACHAR.
#pragma once

#include <array>
#include <cstdint>

namespace ntb {

// The decomposition of |n|: nf distinct primes f[1..nf] ascending, their
// exponents e[1..nf] and prime powers pw[1..nf].  1-based; slots beyond nf
// (and slot 0) hold 0.  Thirteen slots suffice for any 32-bit integer.
struct Factors {
  int32_t nf = 0;
  std::array<int32_t, 14> f{};
  std::array<int32_t, 14> e{};
  std::array<int32_t, 14> pw{};
};

void primefac(int32_t n, Factors& r);

// The least number whose factors the primes submenu shows.
inline constexpr int32_t kFactorsLeast = 2;

// n is prime exactly when it has one prime factor with exponent 1.
inline bool is_prime_by_primefac(const Factors& r) {
  return r.nf == 1 && r.e[1] == 1;
}

// The one-character text whose code is the low byte of i (124 gives '|').
char ACHAR(int32_t i);

}  // namespace ntb
