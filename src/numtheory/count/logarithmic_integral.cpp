// Ramanujan's series for the logarithmic integral:
//
//   li(x) = gamma + ln ln x + sqrt(x) * sum over n >= 1 of
//           (-1)^(n-1) (ln x)^n / (n! 2^(n-1)) * sum over 0 <= k <= (n-1)/2 of 1/(2k+1)
//
// It converges for every x > 0, and faster than the plain series
// gamma + ln ln x + sum (ln x)^n / (n n!), whose terms at x = 2^31 grow to
// about 10^7 before they fall, losing digits to cancellation.
#include "numtheory/count/logarithmic_integral.hpp"

#include <cmath>
#include <limits>

namespace ntb {

double logarithmic_integral(double x) {
  if (x == 0) return 0;
  if (x == 1) return -std::numeric_limits<double>::infinity();
  constexpr double kGamma = 0.57721566490153286061;  // Euler's constant
  const double lx = std::log(x);
  double sum = 0, term = 1, inner = 0;
  for (int n = 1; n < 200; ++n) {
    term *= -lx / (n * 2.0);                 // (-1)^n (ln x)^n / (n! 2^n)
    if ((n - 1) % 2 == 0) inner += 1.0 / n;  // 1/(2k+1) for 2k + 1 = n
    const double add = -2 * term * inner;    // (-1)^(n-1) (ln x)^n / (n! 2^(n-1)) * inner
    sum += add;
    if (std::fabs(add) < 1e-17 * std::fabs(sum)) break;
  }
  return kGamma + std::log(std::fabs(lx)) + std::sqrt(x) * sum;
}

}  // namespace ntb
