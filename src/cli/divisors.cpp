// ntbench divisors N: the divisors of N in ascending order, made from its
// prime factorization (at most 1600 of them for N < 2^31), or with
// --summary only N, tau(N) and sigma(N).
#include <algorithm>
#include <vector>

#include "cli/commands.hpp"
#include "numtheory/factorize.hpp"

namespace ntb::cli {

int run_divisors(const Request& r, Channels& io) {
  const int64_t n = r.numbers[0];
  const PrimeFactorList f = factorize(static_cast<uint32_t>(n));
  if (r.summary) {
    int64_t tau = 1, sigma = 1;
    for (int i = 0; i < f.count;) {
      const uint32_t p = f.p[i];
      int64_t power = 1, sum = 1, e = 0;
      for (; i < f.count && f.p[i] == p; ++i, ++e) sum += power *= p;
      tau *= e + 1;
      sigma *= sum;
    }
    io.out.header({"n", "tau", "sigma"});
    io.out.row(n, tau, sigma);
    return 0;
  }
  std::vector<uint32_t> divisors{1};
  for (int i = 0; i < f.count;) {
    const uint32_t p = f.p[i];
    const size_t before = divisors.size();
    uint64_t power = 1;
    for (; i < f.count && f.p[i] == p; ++i) {
      power *= p;
      for (size_t k = 0; k < before; ++k)
        divisors.push_back(static_cast<uint32_t>(divisors[k] * power));
    }
  }
  std::sort(divisors.begin(), divisors.end());
  io.out.header({"divisor"});
  for (const uint32_t d : divisors) io.out.row(d);
  return 0;
}

}  // namespace ntb::cli
