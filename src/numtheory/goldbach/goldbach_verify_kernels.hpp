// The covering kernels of the Goldbach verification (goldbach_verify.hpp):
// a word at a time, AVX2 or AVX-512, chosen at run time by what the CPU
// runs.  The tests force each one the CPU runs in turn, since the choice
// alone would leave all but the widest untried.
#pragma once

#include <vector>

namespace ntb {

enum class GoldbachKernel { kBest, kWords, kAvx2, kAvx512 };

// The kernels this CPU runs, kWords first.
std::vector<GoldbachKernel> goldbach_verify_kernels_for_tests();

// The kernel of the verifications started from now on (kBest: the widest
// the CPU runs, the default).
void force_goldbach_verify_kernel_for_tests(GoldbachKernel kernel);

}  // namespace ntb
