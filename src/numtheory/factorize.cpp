// Factorization of a 32-bit unsigned integer.
#include "numtheory/factorize.hpp"

namespace ntb {

namespace {

uint32_t mulmod(uint32_t a, uint32_t b, uint32_t m) {
  return static_cast<uint32_t>(uint64_t{a} * b % m);
}

uint32_t powmod(uint32_t a, uint32_t e, uint32_t m) {
  uint32_t r = 1 % m;
  for (a %= m; e; e >>= 1, a = mulmod(a, a, m))
    if (e & 1) r = mulmod(r, a, m);
  return r;
}

// Whether the odd n > 61 is a strong probable prime to base a.
bool strong_probable_prime(uint32_t n, uint32_t a) {
  uint32_t d = n - 1;
  int s = 0;
  while (d % 2 == 0) d /= 2, ++s;
  uint32_t x = powmod(a, d, n);
  if (x == 1 || x == n - 1) return true;
  for (int i = 1; i < s; ++i) {
    x = mulmod(x, x, n);
    if (x == n - 1) return true;
  }
  return false;
}

}  // namespace

bool is_prime_u32(uint32_t n) {
  if (n < 2) return false;
  for (uint32_t p :
       {2u, 3u, 5u, 7u, 11u, 13u, 17u, 19u, 23u, 29u, 31u, 37u, 41u, 43u, 47u, 53u, 59u, 61u}) {
    if (n == p) return true;
    if (n % p == 0) return false;
  }
  return strong_probable_prime(n, 2) && strong_probable_prime(n, 7) && strong_probable_prime(n, 61);
}

PrimeFactorList factorize(uint32_t n) {
  PrimeFactorList r;
  if (n < 2) return r;
  for (uint32_t p = 2; uint64_t{p} * p <= n; p += (p == 2 ? 1 : 2))
    while (n % p == 0) r.p[r.count++] = p, n /= p;
  if (n > 1) r.p[r.count++] = n;
  return r;
}

}  // namespace ntb
