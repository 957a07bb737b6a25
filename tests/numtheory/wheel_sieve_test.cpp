// The wheel sieve and its expansions against a plain sieve, at every small
// limit and across its segment boundaries, with the slots past the cap left
// untouched; and the builds and edits of y and yc over tables that hold
// anything, slot by slot against a plain sort and the walk done one odd
// number at a time.
#include "numtheory/sieve/wheel_sieve.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "numtheory/tables/tables.hpp"

namespace ntb {
namespace {

// The plain sieve of Eratosthenes on every number up to 2000601.
bool is_prime(int32_t n) {
  static const std::vector<bool> prime = [] {
    std::vector<bool> p(kSieveTop + 1, true);
    p[0] = p[1] = false;
    for (int32_t i = 2; i * i <= kSieveTop; ++i)
      if (p[i])
        for (int32_t j = i * i; j <= kSieveTop; j += i) p[j] = false;
    return p;
  }();
  return prime[n];
}

// Runs an expansion into a buffer of sentinels capped at `cap`; checks that
// it wrote exactly the first values of `want` and nothing past out[cap].
template <class Expand>
void expect_expansion(Expand expand, const std::vector<int32_t>& want, int32_t cap) {
  std::vector<int32_t> out(cap + 40, -7);
  const int32_t n = expand(out.data(), cap);
  const int32_t k = std::min<int32_t>(cap, int32_t(want.size()));
  ASSERT_EQ(n, k) << "cap " << cap;
  for (int32_t i = 0; i < k; ++i) ASSERT_EQ(out[i + 1], want[i]) << "slot " << i + 1;
  for (size_t i = cap + 1; i < out.size(); ++i) ASSERT_EQ(out[i], -7) << "past the cap";
}

TEST(WheelSieve, ExpansionsMatchTrialDivisionAtEveryLimit) {
  std::vector<int32_t> limits;
  for (int32_t l = 0; l <= 700; ++l) limits.push_back(l);
  for (int32_t l : {983039, 983069, 1999999, 2000601}) limits.push_back(l);  // segment ends, top
  for (int32_t limit : limits) {
    SCOPED_TRACE(limit);
    std::vector<uint8_t> sieve(wheel_bytes(limit), 0xa5);
    wheel_sieve(sieve.data(), limit);
    std::vector<int32_t> primes, composites;
    for (int32_t n = 7; n <= limit; n += 2) (is_prime(n) ? primes : composites).push_back(n);
    const int32_t hi = limit - limit % 7;  // the composites stop short of the limit
    while (!composites.empty() && composites.back() > hi) composites.pop_back();
    for (int32_t cap : {int32_t(primes.size()) + 9, int32_t(primes.size()), 5, 0})
      expect_expansion(
          [&](int32_t* out, int32_t c) { return wheel_primes(sieve.data(), limit, out, 0, c); },
          primes, cap);
    for (int32_t cap : {int32_t(composites.size()) + 17, int32_t(composites.size()) - 1, 3})
      expect_expansion([&](int32_t* out,
                           int32_t c) { return wheel_odd_composites(sieve.data(), hi, out, 0, c); },
                       composites, std::max(cap, 0));
  }
}

// The walk that builds yc, one odd number at a time.
void walk(const Tables& t, int32_t start, std::vector<int32_t>& yc, int32_t& count) {
  int32_t i = start;
  count = 0;
  for (int32_t x = 3; x <= kWalkTop; x += 2) {
    ++i;
    if (i <= kYSize && t.y[i] == x) continue;
    if (++count <= kYcSize) yc[count] = x;
    --i;
  }
}

TEST(WheelSieve, BuildsOverAnyContentMatchTheWalk) {
  auto t = std::make_unique<Tables>();
  for (int32_t i = 0; i <= kYSize; ++i) t->y[i] = 0x7ff00000 + i;
  for (int32_t i = 0; i <= kYcSize; ++i) t->yc[i] = -i;
  t->sieve.fill(0x5a);
  build_y(*t);
  EXPECT_FALSE(t->y_pristine);  // the slots above 148977 kept their values
  for (int32_t i = kYFilled + 1; i <= kYSize; ++i) ASSERT_EQ(t->y[i], 0x7ff00000 + i);
  for (int32_t i = kYFilled + 1; i <= kYSize; ++i) t->y[i] = 0;
  build_y(*t);
  ASSERT_TRUE(t->y_pristine);
  int32_t filled = 0;
  for (int32_t n = 2; n <= kSieveTop; ++n)
    if (is_prime(n)) {
      ASSERT_EQ(t->y[++filled], n);
    }
  EXPECT_EQ(filled, kYFilled);
  // Each step: substitute (i, v) when i > 0, take out position p as many
  // times as asked, then walk with (no2357, kpos, store3); y is rebuilt
  // after a step marked so.  The take-out is checked against a plain sort.
  struct Step {
    int32_t i, v, p, outs, no2357, kpos, store3;
    bool rebuild;
  };
  const Step steps[] = {
      {0, 0, 0, 0, 0, 0, 0, false},  // as built
      {0, 0, 0, 0, 0, 0, 1, true},   // an entry 8 with store3 set: start index 0
      {0, 0, 1, 1, 1, 1, 0, true},   // entry 6 at position 1
      {0, 0, 1, 4, 1, 1, 1, true},   // 2, 3, 5 and 7 taken away
      {148499, 2100000, 148500, 1, 1, 148500, 0, false},  // the marker moves down
      {0, 0, 70000, 1, 1, 70000, 0, false},               // a second marker
      {100, 9, 0, 0, 1, 70000, 0, false},                 // entry 7: y out of order
      {50, 3000000, 60, 1, 1, 60, 0, false},              // beyond the marker, then a take-out
      {7, 16, 0, 0, 1, 60, 0, true},                      // an even value ahead of x
      {0, 0, 148990, 1, 1, 148990, 0, true},              // a position above 148500
  };
  std::vector<int32_t> want(kYcSize + 1);
  int32_t count = 0;
  for (const Step& s : steps) {
    if (s.i > 0) substitute(*t, s.i, s.v);
    for (int k = 0; k < s.outs; ++k) {
      std::vector<int32_t> sorted(t->y.begin(), t->y.end());
      sorted[s.p] = kMarker;
      std::sort(sorted.begin() + 1, sorted.begin() + 1 + kYSorted);
      take_out(*t, s.p);
      ASSERT_TRUE(std::equal(sorted.begin(), sorted.end(), t->y.begin())) << "take-out " << s.p;
    }
    want[kYcSize] = t->yc[kYcSize];
    walk(*t, s.store3 == 1 || (s.no2357 == 1 && s.kpos == 1) ? 0 : 1, want, count);
    build_yc(*t, s.no2357, s.kpos, s.store3);
    ASSERT_EQ(t->yc_count, count);
    for (int32_t i = 1; i <= kYcSize; ++i) ASSERT_EQ(t->yc[i], want[i]) << "slot " << i;
    if (s.rebuild) build_y(*t);
  }
}

}  // namespace
}  // namespace ntb
