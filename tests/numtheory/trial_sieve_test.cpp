// The window sieve against the trial division it stands for: on the table
// as built it steps from prime to prime (across window boundaries, at random
// points and at the top of the range); on edited tables it passes exactly
// the odd numbers that no entry y(1..findp(isqrt c)) divides.
#include "numtheory/sieve/trial_sieve.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "support/scripted_console.hpp"
#include "support/table_edits.hpp"

namespace ntb {
namespace {

bool is_prime(int64_t n) {
  if (n < 2) return false;
  if (n % 2 == 0) return n == 2;
  for (int64_t d = 3; d * d <= n; d += 2)
    if (n % d == 0) return false;
  return true;
}

// The test itself, entry by entry.
bool passes_trial_division(int32_t c, const Tables& t) {
  int32_t n = static_cast<int32_t>(std::sqrt(static_cast<double>(c)));
  findp(n, t);
  for (int32_t i = 1; i <= n; ++i)
    if (t.y[i] >= 2 && c % t.y[i] == 0) return false;
  return true;
}

// The next `steps` passing numbers after n, by the sieve and one by one.
void expect_same_steps(TrialSieve& s, const Tables& t, int32_t n, int steps, bool primes,
                       const std::string& what = "") {
  int64_t ref = n % 2 == 0 ? n - 1 : n;
  std::vector<int32_t> got;
  s.each_after(n, t, [&](int32_t c) {
    got.push_back(c);
    return static_cast<int>(got.size()) < steps;
  });
  for (int k = 0; k < steps; ++k) {
    do ref += 2;
    while (ref <= INT32_MAX &&
           !(primes ? is_prime(ref) : passes_trial_division(static_cast<int32_t>(ref), t)));
    if (ref > INT32_MAX) {
      ASSERT_EQ(static_cast<int>(got.size()), k) << "past the top from " << n << what;
      return;
    }
    ASSERT_LT(k, static_cast<int>(got.size())) << n << what;
    ASSERT_EQ(got[k], ref) << "step " << k << " from " << n << what;
  }
}

TEST(TrialSieve, PrimesAsBuiltAcrossWindows) {
  const Tables& t = testing::built_tables();
  TrialSieve s;
  expect_same_steps(s, t, 11, 3000, true);
  // Windows hold 2^17 odd numbers: they start at 1 + k * 2^18.
  for (int64_t k : {1, 2, 7, 4095, 8191})
    expect_same_steps(s, t, static_cast<int32_t>(k * 262144 - 200), 40, true);
  expect_same_steps(s, t, 100, 20, true);  // back to an earlier window
  std::mt19937 rng(7);
  for (int i = 0; i < 40; ++i)
    expect_same_steps(s, t, static_cast<int32_t>(11 + rng() % 2147483000u), 8, true);
}

TEST(TrialSieve, TopOfTheRange) {
  const Tables& t = testing::built_tables();
  TrialSieve s;
  EXPECT_EQ(s.next_after(2147483629, t), 2147483647);
  EXPECT_EQ(s.next_after(2147483646, t), 2147483647);
  EXPECT_EQ(s.next_after(2147483647, t), 0);
  EXPECT_EQ(s.next_after(2147483587, t), 2147483629);
}

// Many random edits: the sieve follows each table, where it is read low
// (every candidate from 11 on, where the square roots change fast), at a
// window boundary and high in the range.
void sweep_edits(int tables, int steps) {
  TrialSieve s;
  std::mt19937 rng(5);
  for (int k = 0; k < tables; ++k) {
    const auto e = testing::random_edits(1000 + k);
    expect_same_steps(s, *e.t, 11, steps, false, e.what);
    expect_same_steps(s, *e.t, 262144 * (1 + rng() % 64) - 100, steps / 10, false, e.what);
    expect_same_steps(s, *e.t, static_cast<int32_t>(2000000000 + rng() % 147483000u), steps / 10,
                      false, e.what);
  }
}

TEST(TrialSieve, EditedTablesStepAsTheTrialDivision) {
  sweep_edits(24, 1500);
}

TEST(TrialSieve, FullEditedTablesStepAsTheTrialDivision) {
  if (!std::getenv("NTBENCH_FULL")) GTEST_SKIP() << "NTBENCH_FULL not set";
  sweep_edits(300, 20000);
}

// Entries out of order, repeated, above the candidates, 0 and 1: whatever
// findp makes of them, the sieve agrees with the test.
TEST(TrialSieve, StrangeEntries) {
  auto t = std::make_unique<Tables>(testing::built_tables());
  substitute(*t, 3, 1);         // 5 becomes 1: divides nothing
  substitute(*t, 4, 0);         // 7 becomes 0
  substitute(*t, 10, 1000001);  // above the candidates near it
  substitute(*t, 12, 3);        // 3 twice
  substitute(*t, 40, 9);        // a composite far out of order
  TrialSieve s;
  expect_same_steps(s, *t, 11, 5000, false);
  expect_same_steps(s, *t, 999000, 500, false);
  EXPECT_FALSE(passes_trial_division(1000001, *t));  // its own entry divides it
}

}  // namespace
}  // namespace ntb
