// The prime count against a sieve written here, and against the literal
// counting procedure, term by term, on edited tables.
#include "numtheory/count/prime_count.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "numtheory/count/legendre_phi.hpp"
#include "numtheory/tables/pi_lookup.hpp"
#include "numtheory/tables/tables.hpp"
#include "support/scripted_console.hpp"
#include "support/table_edits.hpp"

namespace ntb {
namespace {

using ntb::testing::built_tables;

bool full_run() {
  return std::getenv("NTBENCH_FULL") != nullptr;
}

// ---------------------------------------------------------------------------
// Oracles

// Primes in [lo, hi] by a segmented sieve (hi <= 2^31 - 1).
int64_t sieve_count(int64_t lo, int64_t hi) {
  if (hi < 2 || hi < lo) return 0;
  if (lo < 2) lo = 2;
  const int64_t root = static_cast<int64_t>(std::sqrt(static_cast<double>(hi))) + 1;
  std::vector<char> small(root + 1, 1);
  std::vector<int64_t> primes;
  for (int64_t i = 2; i <= root; ++i) {
    if (!small[i]) continue;
    primes.push_back(i);
    for (int64_t m = i * i; m <= root; m += i) small[m] = 0;
  }
  int64_t count = 0;
  const int64_t seg = 1 << 20;
  std::vector<char> mark(seg);
  for (int64_t base = lo; base <= hi; base += seg) {
    const int64_t top = std::min(hi, base + seg - 1);
    std::fill(mark.begin(), mark.end(), 1);
    for (int64_t p : primes) {
      if (p * p > top) break;
      int64_t m = std::max(p * p, (base + p - 1) / p * p);
      for (; m <= top; m += p) mark[m - base] = 0;
    }
    for (int64_t v = base; v <= top; ++v) count += mark[v - base];
  }
  return count;
}

// The counting procedure step by step, with no shortcut of any
// kind: the reference that trova1 must match on every table.
struct Literal {
  const Tables& t;
  int32_t pi(int32_t x) const { return findp(x, t); }
  int32_t G(int32_t q) const {
    if (q <= 10) return 1;
    int32_t x = q, cnt = 0;
    coprime7(x, cnt);
    return cnt;
  }
  // Every chain below index `upper` with quotient q at length L.
  void chains(int32_t q, int32_t upper, int L, int64_t& S) const {
    for (int32_t j = 5; j != upper; ++j) {
      const int32_t r = q / t.y[j];
      if (r < 1) break;
      S += (L % 2 == 1 ? -1 : 1) * int64_t{G(r)};  // chain of length L + 1
      chains(r, j, L + 1, S);
    }
  }
  void level(int lv, int32_t q, int32_t s, int64_t& P) const {
    for (int32_t j = s;; ++j) {
      int32_t r = q / t.y[j];
      if (r < t.y[j]) return;
      if (lv == 5) {
        P += pi(r) - j + 1;
        continue;
      }
      do {
        P += pi(r) - j + 1;
        level(lv + 1, r, j + 1, P);
        r = r / t.y[j];
      } while (!(r < t.y[j]));
    }
  }
  int64_t operator()(int32_t n) const {
    const double N = n;
    int32_t x = n, F = 0;
    coprime7(x, F);
    const int32_t a = pi(static_cast<int32_t>(std::sqrt(N)));
    const int32_t k = pi(static_cast<int32_t>(N * 5e-7));
    const int32_t c = k > 4 ? k : 4;
    int64_t S = 0;
    if (k > 4) {
      for (int32_t i1 = 5; i1 <= k; ++i1) {
        const int32_t q = static_cast<int32_t>(N / t.y[i1]);
        S += G(q);
        chains(q, i1, 1, S);
      }
    }
    int64_t P = 0;
    for (int32_t i = c + 1; i <= a; ++i) {
      int32_t q = static_cast<int32_t>(N / t.y[i]);
      do {
        P += pi(q) - i + 1;
        level(2, q, i + 1, P);
        q = q / t.y[i];
      } while (!(t.y[i] > q));
    }
    return F - S - P + (c - 1);
  }
};

int64_t count(int32_t n, const Tables& t) {
  double v = n;
  trova1(v, t);
  return static_cast<int64_t>(v);
}

int64_t count_by_terms(int32_t n, const Tables& t) {
  double v = n;
  trova1_by_terms(v, t);
  return static_cast<int64_t>(v);
}

// ---------------------------------------------------------------------------
// coprime7

TEST(Coprime7, KnownValues) {
  const std::pair<int32_t, int32_t> cases[] = {
      {11, 2}, {12, 2}, {13, 3}, {210, 48}, {2147483647, 490853405}};
  for (auto [x0, want] : cases) {
    int32_t x = x0, cnt = -1;
    coprime7(x, cnt);
    EXPECT_EQ(cnt, want) << x0;
  }
}

TEST(Coprime7, MatchesDirectCountAndReportsWhatItSubtracted) {
  // Direct count of 1..x free of 2, 3, 5, 7, for every x up to 300000 and
  // for random x over the whole range (by the period 210).
  std::vector<int32_t> prime_to_30(300000 / 7 + 1, 0);  // count of 1..r prime to 30
  for (int32_t r = 1; r < static_cast<int32_t>(prime_to_30.size()); ++r)
    prime_to_30[r] = prime_to_30[r - 1] + (r % 2 && r % 3 && r % 5);
  int32_t direct = 1;  // 1 itself
  for (int32_t x = 2; x <= 300000; ++x) {
    if (x % 2 && x % 3 && x % 5 && x % 7) ++direct;
    if (x < 11) continue;
    int32_t w = x, cnt = 0;
    const int32_t sub = coprime7(w, cnt);
    ASSERT_EQ(cnt, direct) << x;
    if (x < 13) {
      EXPECT_EQ(sub, 0);
      EXPECT_EQ(w, x);
    } else if (w < 7) {
      EXPECT_EQ(sub, 1) << x;  // x / 7 below 7: only 1 to subtract
    } else {
      // x / 7 brought down to a number prime to 30, and the subtracted
      // number is the count of 1..w prime to 30.
      ASSERT_TRUE(w % 2 && w % 3 && w % 5) << x;
      ASSERT_EQ(sub, prime_to_30[w]) << x;
    }
  }
  std::mt19937 rng(7);
  std::uniform_int_distribution<int32_t> pick(13, 2147483647);
  for (int i = 0; i < 20000; ++i) {
    const int32_t x = pick(rng);
    int64_t want = int64_t{x / 210} * 48;
    for (int32_t r = 1; r <= x % 210; ++r) want += (r % 2 && r % 3 && r % 5 && r % 7);
    int32_t w = x, cnt = 0;
    coprime7(w, cnt);
    ASSERT_EQ(cnt, want) << x;
  }
}

// ---------------------------------------------------------------------------
// The shortcuts of the table as built

TEST(PiLookup, EqualsTheSearchInY) {
  const Tables& t = built_tables();
  const PiLookup& pi = PiLookup::of(t);
  for (int32_t x = -5; x <= 2000700; ++x) ASSERT_EQ(pi(x, t), findp_of(x, t)) << x;
  for (int32_t x : {2147483647, 100000000, 2000389, 2000390})
    EXPECT_EQ(pi(x, t), findp_of(x, t)) << x;
}

TEST(LegendrePhi, AgainstSmallestPrimeFactors) {
  // phi(x, a) = 1 + #{2 <= n <= x : the smallest prime factor of n is above
  // p_a}, swept over x up to 2000000 for every a from 4 to 218.
  const Tables& t = built_tables();
  const int32_t top = 2000000, amax = 218;
  std::vector<int32_t> spf_index(top + 1, 0);  // index of the smallest prime factor
  for (int32_t i = 1; i <= kYFilled && t.y[i] <= top; ++i)
    for (int32_t m = t.y[i]; m <= top; m += t.y[i])
      if (spf_index[m] == 0) spf_index[m] = i;
  std::vector<int64_t> by_index(amax + 2, 0);  // n with spf index i (i > amax together)
  std::mt19937 rng(9);
  std::uniform_int_distribution<int32_t> pick_a(4, amax);
  for (int32_t x = 2; x <= top; ++x) {
    ++by_index[std::min(spf_index[x], amax + 1)];
    if (x > 3000 && x % 9973 != 0) continue;
    int64_t free = x;  // 1..x
    for (int32_t a = 1; a <= amax; ++a) {
      free -= by_index[a];
      if (a < 4 || (x > 3000 && a != pick_a(rng) && a > 12)) continue;
      ASSERT_EQ(legendre_phi(x, a, t), free) << x << " " << a;
    }
  }
}

TEST(Coprime7, CountByThePeriodIsTheSameOnSamples) {
  std::mt19937 rng(17);
  std::uniform_int_distribution<int32_t> pick(11, 2147483647);
  for (int i = 0; i < 200000; ++i) {
    const int32_t x = i < 100000 ? 11 + i : pick(rng);
    int32_t w = x, cnt = 0;
    coprime7(w, cnt);
    ASSERT_EQ(coprime7_of(x), cnt) << x;
  }
}

TEST(Coprime7, FullCountByThePeriodIsTheSameEverywhere) {
  if (!full_run()) GTEST_SKIP() << "NTBENCH_FULL not set";
  // Every x up to 2^27, then a stride prime to 210 up to the top.
  for (int64_t x = 11; x <= 2147483647; x += x < (1 << 27) ? 1 : 4099) {
    int32_t w = static_cast<int32_t>(x), cnt = 0;
    coprime7(w, cnt);
    ASSERT_EQ(coprime7_of(static_cast<int32_t>(x)), cnt) << x;
  }
  int32_t w = 2147483647, cnt = 0;
  coprime7(w, cnt);
  EXPECT_EQ(coprime7_of(2147483647), cnt);
}

// ---------------------------------------------------------------------------
// trova1 on the table as built

TEST(Trova1, PublishedValues) {
  const Tables& t = built_tables();
  const std::pair<int32_t, int64_t> cases[] = {{11, 5},
                                               {12, 5},
                                               {13, 6},
                                               {100, 25},
                                               {1000, 168},
                                               {1000000, 78498},
                                               {2000000, 148933},
                                               {100000000, 5761455},
                                               {1000000000, 50847534},
                                               {2147483647, 105097565}};
  for (auto [n, want] : cases) {
    EXPECT_EQ(count(n, t), want) << n;
    EXPECT_EQ(count_by_terms(n, t), want) << n;
    EXPECT_EQ(trova1_of(n, t), want) << n;
  }
}

TEST(Trova1, BelowElevenAsTheProcedureGives) {
  // Outside what callers pass, but the same on both paths: 5 for 1..12.
  const Tables& t = built_tables();
  for (int32_t n = 0; n <= 12; ++n) {
    EXPECT_EQ(count(n, t), Literal{t}(n)) << n;
    EXPECT_EQ(count_by_terms(n, t), Literal{t}(n)) << n;
  }
}

TEST(Trova1, EveryNInTheLowRangeMatchesTheSieve) {
  const Tables& t = built_tables();
  const int32_t top = 300000;
  std::vector<char> comp(top + 1, 0);
  int64_t pi = 0;
  for (int32_t n = 2; n <= top; ++n) {
    if (!comp[n]) {
      ++pi;
      for (int64_t m = int64_t{n} * n; m <= top; m += n) comp[m] = 1;
    }
    if (n < 11) continue;
    ASSERT_EQ(count(n, t), pi) << n;
    if (n % 97 == 0) {
      ASSERT_EQ(count_by_terms(n, t), pi) << n;
    }
  }
}

// Windows (lo, hi] at random places over the whole range: the difference of
// two counts against the sieve of the window, with sharp edges at primes.
void check_windows(int windows, int32_t width, uint32_t seed, bool by_terms_too) {
  const Tables& t = built_tables();
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int32_t> pick(11, 2147483647 - width);
  for (int w = 0; w < windows; ++w) {
    const int32_t lo = pick(rng), hi = lo + width;
    const int64_t want = sieve_count(int64_t{lo} + 1, hi);
    ASSERT_EQ(count(hi, t) - count(lo, t), want) << lo << ".." << hi;
    if (by_terms_too && w % 8 == 0) {
      ASSERT_EQ(count_by_terms(hi, t) - count_by_terms(lo, t), want) << lo;
    }
  }
}

TEST(Trova1, WindowsOverTheWholeRange) {
  check_windows(40, 20000, 11, false);
}

TEST(Trova1, FullWindowsOverTheWholeRange) {
  if (!full_run()) GTEST_SKIP() << "NTBENCH_FULL not set";
  check_windows(2000, 50000, 12, true);
}

// Checkpoints every 2^24 against one running sieve over the whole range.
TEST(Trova1, FullCheckpointsAgainstRunningSieve) {
  if (!full_run()) GTEST_SKIP() << "NTBENCH_FULL not set";
  const Tables& t = built_tables();
  int64_t pi = 0, from = 2;
  for (int64_t to = 1 << 24;; to += 1 << 24) {
    if (to > 2147483647) to = 2147483647;
    pi += sieve_count(from, to);
    ASSERT_EQ(count(static_cast<int32_t>(to), t), pi) << to;
    ASSERT_EQ(count_by_terms(static_cast<int32_t>(to), t), pi) << to;
    if (to == 2147483647) break;
    from = to + 1;
  }
}

// ---------------------------------------------------------------------------
// trova1 on edited tables follows the table exactly as the procedure does

std::unique_ptr<Tables> copy_of_built() {
  return std::make_unique<Tables>(built_tables());
}

void expect_literal(const Tables& t, const std::vector<int32_t>& ns) {
  const Literal lit{t};
  for (int32_t n : ns) {
    const int64_t want = lit(n);
    EXPECT_EQ(count(n, t), want) << n;
    if (t.y_pristine) {
      EXPECT_EQ(count_by_terms(n, t), want) << n;
    }
  }
}

// Bounds on both sides of 22000000 (where the inclusion-exclusion starts),
// random ones below 500000000, and with `top` the top of the range.
std::vector<int32_t> edit_sample(bool top, uint32_t seed = 3, int randoms = 3) {
  std::vector<int32_t> ns = {11, 12, 13, 100, 1000, 21999999, 22000000, 22000001, 100000000};
  std::mt19937 rng(seed);
  std::uniform_int_distribution<int32_t> low(11, 30000000), mid(30000000, 500000000),
      high(500000000, 2147483647);
  for (int i = 0; i < randoms; ++i) ns.push_back(low(rng));
  for (int i = 0; i < randoms; ++i) ns.push_back(mid(rng));
  if (top) {
    ns.push_back(1000000000);
    ns.push_back(2147483647);
    ns.push_back(high(rng));
  }
  return ns;
}

TEST(Trova1Edited, PristineTableMatchesLiteralProcedure) {
  expect_literal(built_tables(), edit_sample(true));
}

TEST(Trova1Edited, OnePrimeTakenOut) {
  for (int32_t p : {6, 40, 170, 3000, 148600}) {
    auto t = copy_of_built();
    take_out(*t, p);
    expect_literal(*t, edit_sample(p == 40 || p == 170));
  }
}

TEST(Trova1Edited, TwoThreeFiveSevenTakenOut) {
  auto t = copy_of_built();
  for (int i = 0; i < 4; ++i) take_out(*t, 1);
  EXPECT_EQ(t->y[1], 11);
  expect_literal(*t, edit_sample(true));
}

// Substitutions break the order of y: inside the inclusion-exclusion (5, 7,
// 30), in the cofactor range (100, 1000) and past the filled slots.
const std::pair<int32_t, int32_t> kSubs[] = {{5, 121},         {7, 15},     {30, 2000000}, {100, 3},
                                             {1000, 7919 * 3}, {148977, 5}, {148990, 77},  {8, 23},
                                             {5, 9},           {100, 540}};

TEST(Trova1Edited, SubstitutedEntries) {
  int i = 0;
  for (auto [at, v] : kSubs) {
    auto t = copy_of_built();
    substitute(*t, at, v);
    expect_literal(*t, edit_sample(i++ < 2));
  }
}

// One entry among y(5..k) below the one before it: the chains reach it only
// from quotients above its predecessor.  Low and high in the order, equal to
// a neighbour, and as the last entry of the inclusion-exclusion.
TEST(Trova1Edited, OneEntryOutOfOrderInTheInclusionExclusion) {
  const std::pair<int32_t, int32_t> subs[] = {{100, 15}, {60, 101}, {20, 57},  {150, 35},
                                              {9, 11},   {12, 33},  {176, 91}, {180, 1067}};
  for (auto [at, v] : subs) {
    auto t = copy_of_built();
    substitute(*t, at, v);
    const Literal lit{*t};
    for (int32_t n : {22000001, 300000000, 1200000000, 2147483647})
      EXPECT_EQ(count(n, *t), lit(n)) << at << " " << v << " " << n;
  }
}

TEST(Trova1Edited, FullEditsAgainstLiteralProcedure) {
  if (!full_run()) GTEST_SKIP() << "NTBENCH_FULL not set";
  uint32_t seed = 100;
  for (int32_t p : {1, 2, 5, 6, 7, 50, 176, 177, 181, 4792, 148500, 148977}) {
    auto t = copy_of_built();
    take_out(*t, p);
    expect_literal(*t, edit_sample(true, seed++, 10));
    take_out(*t, p + 3);  // a second prime out
    expect_literal(*t, edit_sample(true, seed++, 5));
  }
  for (auto [at, v] : kSubs) {
    auto t = copy_of_built();
    substitute(*t, at, v);
    expect_literal(*t, edit_sample(true, seed++, 10));
  }
}

TEST(Trova1Edited, EntriesThatCannotDivideArePassedOver) {
  // 0 and 1 would divide by zero or loop for ever in the procedure; the count
  // treats them as absent and stays finite.
  for (auto [i, v] : {std::pair{5, 0}, {6, 1}, {200, 0}, {300, 1}, {74500, 0}}) {
    auto t = copy_of_built();
    substitute(*t, i, v);
    for (int32_t n : {11, 1000, 50000000, 2147483647}) {
      double x = n;
      trova1(x, *t);
      EXPECT_TRUE(std::isfinite(x)) << i << " " << v << " " << n;
    }
  }
}

// Many random edits of all kinds: the count on each table against the
// procedure, or, where an entry 0 or 1 would make the procedure divide by
// zero, against the sum term by term that passes them over.
void sweep_random_edits(int tables, int randoms) {
  for (int k = 0; k < tables; ++k) {
    const auto e = testing::random_edits(3000 + k);
    bool below_two = false;
    for (int32_t i = 1; i <= kYSize; ++i) below_two = below_two || (e.t->y[i] < 2);
    const auto ns = edit_sample(k % 3 == 0, 40 + k, randoms);
    if (!below_two) {
      const Literal lit{*e.t};
      for (int32_t n : ns) ASSERT_EQ(count(n, *e.t), lit(n)) << n << e.what;
    } else {
      for (int32_t n : ns) ASSERT_EQ(count(n, *e.t), count_by_terms(n, *e.t)) << n << e.what;
    }
  }
}

TEST(Trova1Edited, RandomEditsOfEveryKind) {
  sweep_random_edits(10, 1);
}

TEST(Trova1Edited, FullRandomEditsOfEveryKind) {
  if (!full_run()) GTEST_SKIP() << "NTBENCH_FULL not set";
  sweep_random_edits(120, 4);
}

}  // namespace
}  // namespace ntb
