// The counts of small_phi over one period of each primorial, computed by the
// compiler: for each a, the residues r = 1, 2, ... checked against the first
// a primes and counted as they go.
#include "numtheory/count/small_phi.hpp"

namespace ntb::small_phi_detail {

namespace {

constexpr uint32_t kTotal = kStart[kSmallPhiMaxA + 1];

constexpr std::array<uint16_t, kTotal> counts() {
  constexpr uint32_t primes[kSmallPhiMaxA] = {2, 3, 5, 7, 11, 13};
  std::array<uint16_t, kTotal> c{};
  for (int a = 0; a <= kSmallPhiMaxA; ++a) {
    uint16_t run = 0;
    for (uint32_t r = 1; r < kPeriod[a]; ++r) {
      bool free = true;
      for (int i = 0; i < a && free; ++i) free = r % primes[i] != 0;
      run = static_cast<uint16_t>(run + free);
      c[kStart[a] + r] = run;
    }
    if (a > 0 && run != kTotient[a]) throw "a totient does not match its period";
  }
  return c;
}

}  // namespace

constexpr std::array<uint16_t, kTotal> kCounts = counts();

}  // namespace ntb::small_phi_detail
