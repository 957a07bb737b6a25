// The next prime by a sieved window against trial division, across window
// boundaries, at random points of the range and at its top.
#include "numtheory/prime_window.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "support/scripted_console.hpp"

namespace ntb {
namespace {

bool is_prime(int64_t n) {
  if (n < 2) return false;
  if (n % 2 == 0) return n == 2;
  for (int64_t d = 3; d * d <= n; d += 2)
    if (n % d == 0) return false;
  return true;
}

int64_t next_prime(int64_t n) {
  for (int64_t c = n + 1; c <= INT32_MAX; ++c)
    if (is_prime(c)) return c;
  return 0;
}

// Steps through `steps` primes from n with the window and with trial division.
void expect_same_steps(PrimeWindow& w, int32_t n, int steps) {
  const Tables& t = testing::built_tables();
  int64_t ref = n;
  int32_t got = n;
  for (int k = 0; k < steps; ++k) {
    ref = next_prime(ref);
    got = w.next_after(got, t);
    ASSERT_EQ(got, ref) << "after step " << k << " from " << n;
    if (got == 0) return;
  }
}

TEST(PrimeWindow, SmallNumbersAndWindowBoundaries) {
  PrimeWindow w;
  expect_same_steps(w, 0, 3000);
  // Windows hold 2^18 odd numbers: they start at 1 + k * 2^19.
  for (int64_t k : {1, 2, 7, 4095})
    expect_same_steps(w, static_cast<int32_t>(k * 524288 - 200), 40);
  // Going back to an earlier window sieves it again.
  expect_same_steps(w, 100, 20);
}

TEST(PrimeWindow, RandomPointsOfTheRange) {
  PrimeWindow w;
  std::mt19937 rng(7);
  for (int i = 0; i < 60; ++i) {
    const auto n = static_cast<int32_t>(rng() % 2147483000u);
    expect_same_steps(w, n, 8);
  }
}

TEST(PrimeWindow, TopOfTheRange) {
  PrimeWindow w;
  const Tables& t = testing::built_tables();
  EXPECT_EQ(w.next_after(2147483629, t), 2147483647);
  EXPECT_EQ(w.next_after(2147483646, t), 2147483647);
  EXPECT_EQ(w.next_after(2147483647, t), 0);
  EXPECT_EQ(w.next_after(2147483587, t), 2147483629);
}

}  // namespace
}  // namespace ntb
