// The logarithmic integral li(x), the integral of 1/ln t from 0 to x (its
// principal value across t = 1), the classic estimate of the number of
// primes up to x.  Not the offset form Li(x) = li(x) - li(2), which starts
// at 2.
#pragma once

namespace ntb {

// li(x) for x > 1 by Ramanujan's series, to about 15 significant digits
// for x up to 2^32; minus infinity at x = 1, 0 at x = 0 and the principal
// value for 0 < x < 1.
double logarithmic_integral(double x);

}  // namespace ntb
