// pi(x) by counting the primes of a segmented sieve.
#include "numtheory/prime_pi.hpp"

#include "numtheory/prime_range.hpp"

namespace ntb {

int64_t prime_pi(int64_t x) {
  if (x < 2) return 0;
  if (x > kPrimePiMax) x = kPrimePiMax;
  int64_t count = 0;
  PrimeRange range(0, static_cast<uint64_t>(x));
  for (auto block = range.next(); !block.empty(); block = range.next()) count += block.size();
  return count;
}

}  // namespace ntb
