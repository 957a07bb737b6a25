// The choice of method for pi(x) by the size of x, and the sieve from a known
// count.  libprimecount's thread count is a setting of the library, set
// before each call.
#include "numtheory/count/prime_pi_64.hpp"

#include <cmath>
#include <primecount.hpp>
#include <stdexcept>
#include <string>

#include "numtheory/count/prime_pi.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/sieve/range_scan.hpp"
#include "numtheory/threads.hpp"

namespace ntb {

namespace {

// The count from the nearest known count when x is close enough to it that
// sieving the numbers in between costs less than the combinatorial method:
// past 10^17 that method takes as long as sieving about x^(2/3) / 16 numbers
// near x, so a distance up to x^(2/3) / 64 costs at most a quarter of it.
bool from_known_count(uint64_t x, int threads, std::atomic<double>* progress, uint64_t& pi) {
  const double reach = std::cbrt(static_cast<double>(x)) * std::cbrt(static_cast<double>(x)) / 64;
  for (const KnownPrimeCount& k : kKnownPrimeCounts) {
    const uint64_t distance = x > k.x ? x - k.x : k.x - x;
    if (static_cast<double>(distance) > reach) continue;
    if (x >= k.x)
      pi = k.pi + (x > k.x ? count_primes(k.x + 1, x, threads, progress) : 0);
    else
      pi = k.pi - count_primes(x + 1, k.x, threads, progress);
    return true;
  }
  return false;
}

}  // namespace

uint64_t prime_pi_64(uint64_t x, int threads, std::atomic<double>* progress) {
  interruption_point();
  uint64_t pi = 0;
  if (x <= static_cast<uint64_t>(kPrimePiMax)) {
    pi = static_cast<uint64_t>(prime_pi(static_cast<int64_t>(x)));
  } else if (!from_known_count(x, threads, progress, pi)) {
    primecount::set_num_threads(thread_count_for(threads));
    if (x <= static_cast<uint64_t>(INT64_MAX)) {
      pi = static_cast<uint64_t>(primecount::pi(static_cast<int64_t>(x)));
    } else {
      const std::optional<uint128> v =
          parse_plain_decimal(primecount::pi(decimal_string(x)), ~uint128{0});
      if (!v) throw std::runtime_error("prime_pi_64: unreadable count from libprimecount");
      pi = static_cast<uint64_t>(*v);
    }
    interruption_point();
  }
  if (progress) progress->store(1.0);
  return pi;
}

uint128 pi_u128(uint128 x, int threads, std::atomic<double>* progress) {
  if (x > kPiU128Max) throw std::out_of_range("pi_u128: x is past 10^31");
  if (x <= UINT64_MAX) return prime_pi_64(static_cast<uint64_t>(x), threads, progress);
  interruption_point();
  primecount::set_num_threads(thread_count_for(threads));
  const std::optional<uint128> v =
      parse_plain_decimal(primecount::pi(decimal_string(x)), ~uint128{0});
  if (!v) throw std::runtime_error("pi_u128: unreadable count from libprimecount");
  interruption_point();
  if (progress) progress->store(1.0);
  return *v;
}

}  // namespace ntb
