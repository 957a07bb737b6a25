// Both counting methods' enumerations against references written here: a
// sieve for the prime counts, the composites grouped by their cofactor for
// the reverse method's rows, the square-free numbers for the inclusion-
// exclusion terms; and the worked runs for N = 100 and N = 9.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "methods/engine/inclusion_terms.hpp"
#include "methods/engine/reverse_rows.hpp"
#include "numtheory/count/prime_count.hpp"
#include "numtheory/tables/tables.hpp"
#include "support/dialogue.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using ntb::testing::built_tables;
using ntb::testing::full_run;

constexpr int32_t kSieveTop = 2000000;

// Smallest prime factor of every n up to 2000000 (0 and 1 map to 0).
const std::vector<int32_t>& least_factor() {
  static const std::vector<int32_t> lf = [] {
    std::vector<int32_t> f(kSieveTop + 1, 0);
    for (int32_t i = 2; i <= kSieveTop; ++i) {
      if (f[i] != 0) continue;
      for (int64_t m = i; m <= kSieveTop; m += i)
        if (f[m] == 0) f[m] = i;
    }
    return f;
  }();
  return lf;
}

// pi(n) for n up to 2000000.
int32_t pi(int32_t n) {
  static const std::vector<int32_t> table = [] {
    const auto& lf = least_factor();
    std::vector<int32_t> p(kSieveTop + 1, 0);
    for (int32_t i = 2; i <= kSieveTop; ++i) p[i] = p[i - 1] + (lf[i] == i ? 1 : 0);
    return p;
  }();
  return n < 2 ? 0 : table[n];
}

int32_t largest_factor(int32_t n) {
  const auto& lf = least_factor();
  int32_t last = 0;
  while (n > 1) {
    last = lf[n];
    n /= last;
  }
  return last;
}

// Records what the engines report.
struct ReverseLog final : ReverseVisitor {
  std::vector<ReverseRow> rows;
  struct Set {
    int32_t aa, prime, subtotal, rows;
  };
  std::vector<Set> sets;
  int32_t stop_at = -1;
  bool keep = true;
  bool row(const ReverseRow& r) override {
    if (keep) rows.push_back(r);
    return r.row != stop_at;
  }
  void set_done(int32_t aa, int32_t prime, int32_t subtotal, int32_t n) override {
    sets.push_back({aa, prime, subtotal, n});
  }
};

struct InclusionLog final : InclusionVisitor {
  std::vector<InclusionTerm> terms;
  std::vector<int32_t> subtotals;
  int32_t passes = 0;
  bool keep = true;
  void set_done(int32_t, int32_t, int32_t subtotal) override { subtotals.push_back(subtotal); }
  void pass(int32_t) override { ++passes; }
  bool term(const InclusionTerm& t) override {
    if (keep) terms.push_back(t);
    return true;
  }
};

std::unique_ptr<Tables> tables_without_2357() {
  auto t = std::make_unique<Tables>(built_tables());
  for (int k = 0; k < 4; ++k) take_out(*t, 1);
  build_yc(*t, 1, 0, 1);
  return t;
}

// The reverse method's count of primes up to n.
int32_t reverse_count(int32_t n, const Tables& t, ReverseResult* out = nullptr) {
  ReverseLog log;
  log.keep = false;
  const ReverseResult r = reverse_rows(n, t, log);
  if (out != nullptr) *out = r;
  return static_cast<int32_t>(n - r.s1 - 1);
}

int32_t inclusion_count(int32_t n, const Tables& t) {
  InclusionLog log;
  log.keep = false;
  const InclusionResult r = inclusion_terms(n, t, false, log);
  return static_cast<int32_t>(r.z11 - r.sr1 + n - 1);
}

// The count with 2, 3, 5 and 7 taken out of y: z11 - sr1 + reduced + 3 for
// inclusion-exclusion, reduced - s1 + 3 for the reverse method.
int32_t free_of_2357_brute(int32_t n) {
  int32_t c = 0;
  for (int32_t i = 1; i <= n; ++i) c += (i % 2 && i % 3 && i % 5 && i % 7) ? 1 : 0;
  return c;
}

std::vector<int32_t> random_ns(int count, uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_int_distribution<int32_t> d(10001, kSieveTop);
  std::vector<int32_t> v(count);
  for (auto& n : v) n = d(gen);
  return v;
}

// ---------------------------------------------------------------------------
// Reverse method

TEST(ReverseRows, HundredAsWorkedOut) {
  ReverseLog log;
  const ReverseResult r = reverse_rows(100, built_tables(), log);
  ASSERT_TRUE(r.completed);
  ASSERT_EQ(log.rows.size(), 18u);
  EXPECT_EQ(r.rows, 18);
  const ReverseRow& first = log.rows[0];
  EXPECT_EQ(first.row, 1);
  EXPECT_DOUBLE_EQ(first.k, 50.0);
  EXPECT_EQ(first.prime, 2);
  EXPECT_EQ(first.value, 15);
  EXPECT_EQ(first.s1, 15);
  EXPECT_EQ(std::round(first.comb), 2);
  // Rows 2..5 at level 2: 3, its power step, 5, 7; row 6 the power step of 2.
  const int combs[] = {6, 18, 10, 14, 4};
  const int primes[] = {3, 3, 5, 7, 2};
  const int levels[] = {2, 2, 2, 2, 1};
  const bool power[] = {false, true, false, false, true};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i + 2);
    EXPECT_EQ(std::round(log.rows[i + 1].comb), combs[i]);
    EXPECT_EQ(log.rows[i + 1].prime, primes[i]);
    EXPECT_EQ(log.rows[i + 1].level, levels[i]);
    EXPECT_EQ(log.rows[i + 1].power, power[i]);
  }
  EXPECT_DOUBLE_EQ(log.rows[5].k, 25.0);
  EXPECT_EQ(log.rows[5].value, 9);
  ASSERT_EQ(log.sets.size(), 4u);
  const int32_t subtotals[] = {49, 16, 6, 3}, after[] = {12, 16, 17, 18},
                set_primes[] = {2, 3, 5, 7};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(log.sets[i].aa, i + 1);
    EXPECT_EQ(log.sets[i].prime, set_primes[i]);
    EXPECT_EQ(log.sets[i].subtotal, subtotals[i]);
    EXPECT_EQ(log.sets[i].rows, after[i]);
  }
  EXPECT_EQ(r.s1, 74);
  EXPECT_EQ(r.negative_jumps, 29);
  EXPECT_EQ(r.z2, 4);
}

TEST(ReverseRows, BelowFourMakesNoRowsNoSets) {
  for (int32_t n : {0, 1, 2, 3}) {
    ReverseLog log;
    const ReverseResult r = reverse_rows(n, built_tables(), log);
    EXPECT_TRUE(r.completed);
    EXPECT_TRUE(log.rows.empty());
    EXPECT_TRUE(log.sets.empty());
    EXPECT_EQ(n - r.s1 - 1, n == 0 ? -1 : pi(n));
  }
}

// Every composite up to n has one combination, n / (its largest prime); each
// row is one combination with the number of its composites, each once, and
// the rows of a set are those whose combination starts with its prime.
TEST(ReverseRows, RowsAreTheCompositesByCombination) {
  for (int32_t n : {4, 30, 97, 360, 1000, 4096, 9999}) {
    SCOPED_TRACE(n);
    std::map<int64_t, int32_t> expected;
    for (int32_t m = 4; m <= n; ++m) {
      const int32_t p = largest_factor(m);
      if (p != m) ++expected[m / p];
    }
    ReverseLog log;
    reverse_rows(n, built_tables(), log);
    std::map<int64_t, int32_t> got;
    for (const auto& r : log.rows) {
      const auto c = static_cast<int64_t>(std::llround(r.comb));
      EXPECT_EQ(got.count(c), 0u) << "combination " << c << " twice";
      got[c] = r.value;
      // The row's prime is the combination's largest prime.
      EXPECT_EQ(largest_factor(static_cast<int32_t>(c)), r.prime);
    }
    EXPECT_EQ(got, expected);
  }
}

// The negative jumps against the combinations: every row of levels 1..6 ends
// a loop, and every row c of levels 1..7 whose power step fails (c p^2 > N,
// p its largest prime) ends a chain of powers.  N = 8678670 = 510510 * 17
// has a row of level 7 right at its bound.  The tail of each row goes with
// its level and kind.
TEST(ReverseRows, NegativeJumpsAndTailsFromTheCombinations) {
  constexpr int32_t kTop = 10000000;
  // Smallest prime factor up to kTop / 2, where the combinations end.
  std::vector<int32_t> lf(kTop / 2 + 1, 0);
  for (int32_t i = 2; i <= kTop / 2; ++i) {
    if (lf[i] != 0) continue;
    for (int64_t m = i; m <= kTop / 2; m += i)
      if (lf[m] == 0) lf[m] = i;
  }
  for (int32_t n : {100, 1000, 2000000, 8678670, 9699690, kTop}) {
    SCOPED_TRACE(n);
    struct Combination {
      int level;
      bool power;
    };
    std::map<int64_t, Combination> expected;
    int64_t jumps = 0;
    for (int32_t c = 2; c <= n / 2; ++c) {
      int32_t x = c, level = 0, p = 0, times = 0;
      while (x > 1) {
        const int32_t q = lf[x];
        x /= q;
        if (q != p) {
          ++level;
          times = 0;
        }
        p = q;
        ++times;
      }
      if (static_cast<int64_t>(c) * p > n) continue;
      expected[c] = {level, times > 1};
      if (level <= 6) ++jumps;
      if (level <= 7 && static_cast<int64_t>(c) * p * p > n) ++jumps;
    }
    ReverseLog log;
    const ReverseResult r = reverse_rows(n, built_tables(), log);
    ASSERT_EQ(log.rows.size(), expected.size());
    for (const auto& row : log.rows) {
      const auto c = static_cast<int64_t>(std::llround(row.comb));
      const auto it = expected.find(c);
      ASSERT_NE(it, expected.end()) << c;
      EXPECT_EQ(row.level, it->second.level) << c;
      EXPECT_EQ(row.power, it->second.power) << c;
      const int deepest_dashes = row.power ? 6 : 7;
      const RowTail tail = row.level <= deepest_dashes       ? RowTail::Dashes
                           : row.level == deepest_dashes + 1 ? RowTail::StopOnly
                                                             : RowTail::None;
      EXPECT_EQ(row.tail, tail) << c;
    }
    EXPECT_EQ(r.negative_jumps, jumps);
  }
}

TEST(ReverseRows, StopsWhenTheVisitorSaysSo) {
  ReverseLog log;
  log.stop_at = 7;
  const ReverseResult r = reverse_rows(100, built_tables(), log);
  EXPECT_FALSE(r.completed);
  EXPECT_EQ(log.rows.size(), 7u);
  EXPECT_EQ(r.rows, 7);
}

TEST(ReverseRows, CountsPrimesForEveryNUpTo10000) {
  const Tables& t = built_tables();
  for (int32_t n = 1; n <= 10000; ++n) ASSERT_EQ(reverse_count(n, t), pi(n)) << n;
}

void check_reverse_sample(int count, uint32_t seed) {
  const Tables& t = built_tables();
  for (int32_t n : random_ns(count, seed)) {
    ReverseResult r;
    ASSERT_EQ(reverse_count(n, t, &r), pi(n)) << n;
    EXPECT_LE(r.rows, 15000) << n;
  }
}
TEST(ReverseRows, CountsPrimesForRandomNUpTo2000000) {
  check_reverse_sample(60, 11);
}
TEST(ReverseRows, FullCountsPrimesForRandomNUpTo2000000) {
  if (!full_run()) GTEST_SKIP() << "set NTBENCH_FULL";
  check_reverse_sample(2000, 12);
}

TEST(ReverseRows, FullCountsPrimesForEveryNUpTo50000) {
  if (!full_run()) GTEST_SKIP() << "set NTBENCH_FULL";
  const Tables& t = built_tables();
  for (int32_t n = 10001; n <= 50000; ++n) ASSERT_EQ(reverse_count(n, t), pi(n)) << n;
}

TEST(ReverseRows, TwoMillionFitsTheRowStore) {
  ReverseResult r;
  EXPECT_EQ(reverse_count(2000000, built_tables(), &r), 148933);
  EXPECT_EQ(r.rows, 14674);
}

TEST(ReverseRows, WithoutTwoThreeFiveSevenTheReducedCountIsPhi) {
  const auto t = tables_without_2357();
  for (int32_t n = 7; n <= 3000; ++n) {
    ReverseResult r;
    reverse_count(n, *t, &r);
    const int32_t reduced = free_of_2357_brute(n);
    ASSERT_EQ(reduced - static_cast<int32_t>(r.s1) + 3, pi(n)) << n;
  }
  for (int32_t n : random_ns(6, 13)) {
    ReverseResult r;
    reverse_count(n, *t, &r);
    int32_t x = n, reduced = 0;
    coprime7(x, reduced);
    EXPECT_EQ(reduced - static_cast<int32_t>(r.s1) + 3, pi(n)) << n;
  }
}

// Past the end of y, with 2, 3, 5 and 7 taken out: the rows still count the
// composites free of them, so the reduced count is Phi(N).  22000000 has a
// quotient 2000000 (combination 11) among the last primes of y, where the
// take-outs left their markers.
TEST(ReverseRows, WithoutTwoThreeFiveSevenPastTheTableTheReducedCountIsPhi) {
  const auto t = tables_without_2357();
  const Tables& plain = built_tables();
  const std::pair<int32_t, int32_t> cases[] = {
      {2000001, pi(2000000)}, {5000000, 348513},    {22000000, trova1_of(22000000, plain)},
      {30000000, 1857859},    {100000000, 5761455}, {2147483647, 105097565},
  };
  for (const auto& [n, primes] : cases) {
    ReverseResult r;
    reverse_count(n, *t, &r);
    ASSERT_TRUE(r.completed);
    int32_t x = n, reduced = 0;
    coprime7(x, reduced);
    EXPECT_EQ(reduced - static_cast<int64_t>(r.s1) + 3, primes) << n;
  }
  // The same runs on the table as built.
  EXPECT_EQ(reverse_count(30000000, plain), 1857859);
}

// Slots that cannot divide (0 or 1 typed over a prime) are passed over, so a
// run still ends.
TEST(ReverseRows, EndsOnATableWithZeroAndOne) {
  auto t = std::make_unique<Tables>(built_tables());
  substitute(*t, 1, 1);
  substitute(*t, 3, 0);
  ReverseLog log;
  log.keep = false;
  const ReverseResult r = reverse_rows(10000, *t, log);
  EXPECT_TRUE(r.completed);
  EXPECT_GT(r.rows, 0);
}

// ---------------------------------------------------------------------------
// Inclusion-exclusion

TEST(InclusionTerms, HundredAsWorkedOut) {
  InclusionLog log;
  const InclusionResult r = inclusion_terms(100, built_tables(), false, log);
  ASSERT_TRUE(r.completed);
  ASSERT_EQ(log.terms.size(), 13u);
  const int32_t comb[] = {2, 3, 6}, sr1[] = {50, 83, 67}, term[] = {50, 33, -16};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(log.terms[i].row, i + 1);
    EXPECT_EQ(log.terms[i].combination, comb[i]);
    EXPECT_EQ(log.terms[i].sr1, sr1[i]);
    EXPECT_EQ(log.terms[i].term, term[i]);
    EXPECT_EQ(log.terms[i].reduced, 0);
  }
  EXPECT_EQ(log.subtotals, (std::vector<int32_t>{50, 17, 7, 4}));
  EXPECT_EQ(log.passes, 5);
  EXPECT_EQ(r.sr1, 78);
  EXPECT_EQ(r.negative, 45);
  EXPECT_EQ(r.positive, 123);
  EXPECT_EQ(r.terms, 13);
  EXPECT_EQ(r.z11, 4);
  EXPECT_EQ(r.z11 - r.sr1 + 100 - 1, 25);
}

TEST(InclusionTerms, NineAsWorkedOut) {
  InclusionLog log;
  const InclusionResult r = inclusion_terms(9, built_tables(), false, log);
  ASSERT_EQ(log.terms.size(), 3u);
  EXPECT_EQ(log.terms[0].combination, 2);
  EXPECT_EQ(log.terms[1].combination, 3);
  EXPECT_EQ(log.terms[2].combination, 6);
  EXPECT_EQ(log.terms[2].term, -1);
  EXPECT_EQ(log.subtotals, (std::vector<int32_t>{4, 2}));
  EXPECT_EQ(r.z11 - r.sr1 + 9 - 1, 4);
}

// The terms are the square-free numbers whose largest prime is at most
// sqrt(n), each once, with floor(n / product) and the sign of their number
// of primes.
TEST(InclusionTerms, TermsAreTheSquareFreeProducts) {
  for (int32_t n : {9, 100, 1000, 5000}) {
    SCOPED_TRACE(n);
    const auto root = static_cast<int32_t>(std::sqrt(n));
    const auto& lf = least_factor();
    std::map<int32_t, int32_t> expected;  // product -> signed term
    for (int32_t m = 2; m <= n; ++m) {
      int32_t x = m, primes = 0, largest = 0;
      bool square_free = true;
      while (x > 1) {
        const int32_t p = lf[x];
        x /= p;
        if (x % p == 0) square_free = false;
        largest = p;
        ++primes;
      }
      if (square_free && largest <= root) expected[m] = (primes % 2 ? 1 : -1) * (n / m);
    }
    InclusionLog log;
    inclusion_terms(n, built_tables(), false, log);
    std::map<int32_t, int32_t> got;
    for (const auto& t : log.terms) got[t.combination] = static_cast<int32_t>(t.term);
    EXPECT_EQ(log.terms.size(), got.size());
    EXPECT_EQ(got, expected);
  }
}

TEST(InclusionTerms, CountsPrimesForEveryNFrom9To10000) {
  const Tables& t = built_tables();
  for (int32_t n = 9; n <= 10000; ++n) ASSERT_EQ(inclusion_count(n, t), pi(n)) << n;
}

TEST(InclusionTerms, FullCountsPrimesForEveryNUpTo50000) {
  if (!full_run()) GTEST_SKIP() << "set NTBENCH_FULL";
  const Tables& t = built_tables();
  for (int32_t n = 10001; n <= 50000; ++n) ASSERT_EQ(inclusion_count(n, t), pi(n)) << n;
}

void check_inclusion_sample(int count, uint32_t seed) {
  const Tables& t = built_tables();
  for (int32_t n : random_ns(count, seed)) ASSERT_EQ(inclusion_count(n, t), pi(n)) << n;
}
TEST(InclusionTerms, CountsPrimesForRandomNUpTo2000000) {
  check_inclusion_sample(25, 21);
}
TEST(InclusionTerms, FullCountsPrimesForRandomNUpTo2000000) {
  if (!full_run()) GTEST_SKIP() << "set NTBENCH_FULL";
  check_inclusion_sample(1000, 22);
}

// Far past the table: the sets need every prime up to sqrt(N), more than
// 299 of them, and the totals of the terms pass 32 bits.
TEST(InclusionTerms, FullHundredMillion) {
  if (!full_run()) GTEST_SKIP() << "set NTBENCH_FULL";
  InclusionLog log;
  log.keep = false;
  const InclusionResult r = inclusion_terms(100000000, built_tables(), false, log);
  EXPECT_EQ(r.z11, 1229);
  EXPECT_EQ(r.z11 - r.sr1 + 100000000 - 1, 5761455);
  EXPECT_EQ(static_cast<int64_t>(log.subtotals.size()), r.z11);
}

// A 1 typed into y is an entry like the others: every integer is one of its
// multiples, so the signed total of the terms counts all of 1..N.  A 0 is
// passed over (it would divide by zero).
TEST(InclusionTerms, AOneCountsEveryIntegerAZeroIsPassedOver) {
  auto t = std::make_unique<Tables>(built_tables());
  substitute(*t, 1, 1);  // y: 1, 3, 5, 0, 11, 13, ...
  substitute(*t, 4, 0);
  std::vector<int32_t> ns;
  for (int32_t n = 9; n <= 2000; ++n) ns.push_back(n);
  for (int32_t n : random_ns(4, 29)) ns.push_back(n);
  for (int32_t n : ns) {
    InclusionLog log;
    log.keep = false;
    const InclusionResult r = inclusion_terms(n, *t, false, log);
    ASSERT_TRUE(r.completed) << n;
    ASSERT_EQ(r.sr1, n) << n;
    ASSERT_EQ(r.positive - r.negative, n) << n;
  }
}

TEST(InclusionTerms, WithoutTwoThreeFiveSevenTheReducedCountIsPhi) {
  const auto t = tables_without_2357();
  auto check = [&](int32_t n, int32_t reduced) {
    InclusionLog log;
    log.keep = false;
    const InclusionResult r = inclusion_terms(n, *t, true, log);
    return r.z11 - static_cast<int32_t>(r.sr1) + reduced + 3;
  };
  for (int32_t n = 11; n <= 3000; ++n) ASSERT_EQ(check(n, free_of_2357_brute(n)), pi(n)) << n;
  for (int32_t n : random_ns(4, 23)) {
    int32_t x = n, reduced = 0;
    coprime7(x, reduced);
    EXPECT_EQ(check(n, reduced), pi(n)) << n;
  }
}

TEST(InclusionTerms, ReducedTermsCarryTheirCount) {
  const auto t = tables_without_2357();
  InclusionLog log;
  inclusion_terms(1000, *t, true, log);
  ASSERT_FALSE(log.terms.empty());
  for (const auto& term : log.terms) {
    const auto q = static_cast<int32_t>(std::fabs(term.term));
    EXPECT_EQ(term.reduced, free_of_2357_brute(q)) << term.combination;
  }
}

}  // namespace
}  // namespace ntb
