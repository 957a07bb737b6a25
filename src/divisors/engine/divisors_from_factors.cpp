// The divisors from the prime factors: see divisors_from_factors.hpp.
#include "divisors/engine/divisors_from_factors.hpp"

#include <algorithm>

namespace ntb {

std::vector<uint64_t> divisors_from_factors(const PrimeFactors64& f) {
  std::vector<uint64_t> d;
  d.reserve(static_cast<size_t>(divisor_summary(f).tau));
  d.push_back(1);
  for (int i = 0; i < f.count;) {
    const uint64_t p = f.p[i];
    int j = i;
    while (j < f.count && f.p[j] == p) ++j;
    // Every divisor so far times p, p^2, ... p^(j - i): each product divides
    // the number, so none overflows.
    size_t from = 0;
    for (int e = 0; e < j - i; ++e) {
      const size_t end = d.size();
      for (size_t k = from; k < end; ++k) d.push_back(d[k] * p);
      from = end;
    }
    i = j;
  }
  std::sort(d.begin(), d.end());
  return d;
}

DivisorSummary divisor_summary(const PrimeFactors64& f) {
  DivisorSummary s;
  for (int i = 0; i < f.count;) {
    const uint64_t p = f.p[i];
    int j = i;
    unsigned __int128 power = 1, sum = 1;  // p^e and 1 + p + ... + p^e
    while (j < f.count && f.p[j] == p) {
      power *= p;
      sum += power;
      ++j;
    }
    s.tau *= static_cast<uint64_t>(j - i + 1);
    s.sigma *= sum;
    i = j;
  }
  return s;
}

}  // namespace ntb
