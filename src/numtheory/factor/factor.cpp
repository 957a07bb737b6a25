// Trial division by 2 and every odd number from 3: composite odd divisors
// never divide, since their prime factors were removed before them.
#include "numtheory/factor/factor.hpp"

#include <cstdio>
#include <cstdlib>

namespace ntb {

void primefac(int32_t n, Factors& r) {
  r = Factors{};
  // |n| of -2147483648 does not fit 32 bits; it is -2^31, so work in 64 bits.
  int64_t m = n < 0 ? -int64_t{n} : int64_t{n};
  if (m <= 1) return;
  int64_t d = 2;
  for (;;) {
    int64_t q = m / d;
    if (q * d == m) {
      m = q;
      if (r.nf == 0 || d > r.f[r.nf]) {
        ++r.nf;
        r.f[r.nf] = static_cast<int32_t>(d);
        r.e[r.nf] = 1;
        r.pw[r.nf] = static_cast<int32_t>(d);
      } else {
        ++r.e[r.nf];
        r.pw[r.nf] = static_cast<int32_t>(int64_t{r.pw[r.nf]} * d);
      }
      continue;
    }
    if (q <= d) break;
    d = (d == 2) ? 3 : d + 2;
  }
  if (m > 1) {
    ++r.nf;
    r.f[r.nf] = static_cast<int32_t>(m);
    r.e[r.nf] = 1;
    r.pw[r.nf] = static_cast<int32_t>(m);
  }
}

char ACHAR(int32_t i) {
  if (i < 0) {
    std::fprintf(stderr, "ACHAR: The ASCII value must be non-negative while I = %d is given.\n", i);
    return '\0';
  }
  return static_cast<char>(i & 0xFF);
}

}  // namespace ntb
