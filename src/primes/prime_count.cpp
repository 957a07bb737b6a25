// Placeholder until the counting engine lands.
#include "primes/prime_count.hpp"

#include <cstdlib>

namespace ntb {

int32_t coprime7(int32_t& x, int32_t& count) {
  (void)x;
  count = 0;
  std::abort();
}

void trova1(double& N, const Tables& t) {
  (void)N;
  (void)t;
  std::abort();
}

}  // namespace ntb
