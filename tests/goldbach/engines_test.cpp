// The Goldbach engines against brute force: cumulative totals, the counts
// and listings of one even number, the searches and the reverse method,
// with the tables as built and with edited tables.
#include "goldbach/engine/engines.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "numtheory/count/prime_count.hpp"
#include "numtheory/tables/tables.hpp"
#include "oracle.hpp"
#include "support/scripted_console.hpp"
#include "support/table_edits.hpp"

namespace ntb {
namespace {

using testing::built_tables;
using testing::full_oracle;
using testing::full_run;
using testing::Oracle;
using testing::random_evens;

// A copy of the tables as built with one prime taken out and yc walked again.
std::unique_ptr<Tables> without_prime_at(int32_t position) {
  auto t = std::make_unique<Tables>(built_tables());
  take_out(*t, position);
  build_yc(*t, 1, position, 0);
  return t;
}

// A copy of the tables as built that the engines must treat as edited, so
// that they search and walk instead of reading their lookups.
std::unique_ptr<Tables> as_if_edited() {
  auto t = std::make_unique<Tables>(built_tables());
  t->y_pristine = false;
  t->yc_pristine = false;
  return t;
}

// ---------------------------------------------------------------- Counts

TEST(GoldbachCounts, LookupsAgreeWithTheSearches) {
  const Tables& t = built_tables();
  const Counts c(t);
  const int32_t step = full_run() ? 1 : 997;
  for (int32_t x = 0; x <= kGoldbachTop; x += step) {
    ASSERT_EQ(c.primes_upto(x), findp_of(x, t)) << x;
    ASSERT_EQ(c.composites_upto(x), std::min(findc_of(x, t), kYcSize - 1)) << x;
  }
  for (int32_t x : {-5, 1, 2, 3, 4, 8, 9, 1999997, 1999999, 2000390, 2147483647}) {
    EXPECT_EQ(c.primes_upto(x), findp_of(x, t)) << x;
  }
}

TEST(GoldbachCounts, CompositesUptoLeavesOutTheEmptySlotOfYc) {
  const Tables& t = built_tables();
  const Counts c(t);
  EXPECT_EQ(findc_of(2000000, t), kYcSize);  // the search draws the empty slot in
  EXPECT_EQ(c.composites_upto(2000000), kYcSize - 1);
  EXPECT_EQ(c.composites_upto(2147483647), kYcSize - 1);
  EXPECT_EQ(c.composites_upto(1999999), kYcSize - 1);
  const auto e = as_if_edited();
  const Counts ce(*e);
  EXPECT_EQ(ce.composites_upto(2000000), kYcSize - 1);
}

TEST(GoldbachCounts, EditedTableMemoAgreesWithTheSearches) {
  const auto t = without_prime_at(5);  // 11 out
  const Counts c(*t, 12004);
  for (int32_t x = -3; x <= 13000; ++x) {
    ASSERT_EQ(c.primes_upto(x), findp_of(x, *t)) << x;
    ASSERT_EQ(c.composites_upto(x), findc_of(x, *t)) << x;
  }
  EXPECT_FALSE(c.is_prime(11));
  EXPECT_TRUE(c.is_prime(13));
  for (int32_t v : {-7, 0, 1, 2147483647}) EXPECT_FALSE(c.is_prime(v)) << v;
}

// ---------------------------------------------------------------- one even N

// Column 5 at N and N - 2 and the counts that follow, against the pair
// counts of a brute force.
void expect_counts(int32_t N, const Counts& c, const Oracle& o) {
  const PrimePairTotal a = prime_pair_total(N, c);
  const PrimePairTotal b = prime_pair_total(N - 2, c);
  ASSERT_EQ(a.col5, o.prime_total(N)) << N;
  const OddPairCounts k = odd_pair_counts(N, a.col5, b.col5, c);
  ASSERT_EQ(k.P, o.prime_pairs(N)) << N;
  ASSERT_EQ(k.M, o.mixed_pairs(N)) << N;
  ASSERT_EQ(k.C, o.composite_pairs(N)) << N;
  ASSERT_EQ(k.T, k.P + k.M + k.C) << N;
}

TEST(GoldbachOneNumber, CountsOfEveryEvenNumberUpTo10000) {
  const Counts c(built_tables());
  const Oracle& o = full_oracle();
  double cumulative = 0;
  for (int32_t N = 6; N <= 10000; N += 2) {
    cumulative += o.prime_pairs(N);
    const PrimePairTotal a = prime_pair_total(N, c);
    ASSERT_EQ(a.col5, cumulative) << N;
    const OddPairCounts k = odd_pair_counts(N, a.col5, prime_pair_total(N - 2, c).col5, c);
    ASSERT_EQ(k.P, o.prime_pairs(N)) << N;
    ASSERT_EQ(k.M, o.mixed_pairs(N)) << N;
    ASSERT_EQ(k.C, o.composite_pairs(N)) << N;
    ASSERT_EQ(k.T, N % 4 == 0 ? N / 4 - 1 : N / 4) << N;
    ASSERT_EQ(k.T, k.P + k.M + k.C) << N;
  }
}

TEST(GoldbachOneNumber, CountsAtRandomLargeNumbers) {
  const Counts c(built_tables());
  for (int32_t N : random_evens(8, 10000, 2000000, 61)) expect_counts(N, c, full_oracle());
  // Column 5 passes 2^31 at the top; the difference stays exact.
  expect_counts(2000000, c, full_oracle());
  EXPECT_GT(prime_pair_total(2000000, c).col5, 2147483647.0);
}

TEST(GoldbachOneNumberFull, CountsAtManyRandomLargeNumbers) {
  if (!full_run()) GTEST_SKIP();
  const Counts c(built_tables());
  for (int32_t N : random_evens(300, 10000, 2000000, 62)) expect_counts(N, c, full_oracle());
}

TEST(GoldbachOneNumber, TheColumnsOf100) {
  const Counts c(built_tables());
  const PrimePairTotal a = prime_pair_total(100, c);
  EXPECT_EQ(a.col2, 105);
  EXPECT_EQ(a.col3, 140);
  EXPECT_EQ(a.col4, 82);
  EXPECT_EQ(a.col5, 187);
  const PrimePairTotal b = prime_pair_total(98, c);
  EXPECT_EQ(b.col2, 105);
  EXPECT_EQ(b.col3, 140);
  EXPECT_EQ(b.col4, 76);
  EXPECT_EQ(b.col5, 181);
  const OddPairCounts k = odd_pair_counts(100, a.col5, b.col5, c);
  EXPECT_EQ(k.P, 6);
  EXPECT_EQ(k.M, 12);
  EXPECT_EQ(k.C, 6);
  EXPECT_EQ(k.T, 24);
  EXPECT_EQ(k.flag, 0);
}

TEST(GoldbachOneNumber, TwiceAPrimeAndAPrimeBelowN) {
  const Counts c(built_tables());
  // 2p: the pair (p, p) counts once and the half-prime flag mends M.
  for (int32_t N : {6, 10, 14, 22, 26, 194, 2 * 99991, 2 * 999983}) {
    const OddPairCounts k =
        odd_pair_counts(N, prime_pair_total(N, c).col5, prime_pair_total(N - 2, c).col5, c);
    EXPECT_EQ(k.flag, 1) << N;
    EXPECT_EQ(k.M, full_oracle().mixed_pairs(N)) << N;
    EXPECT_EQ(k.P, full_oracle().prime_pairs(N)) << N;
  }
}

TEST(GoldbachOneNumber, EditedTableCountsFollowTheTable) {
  const auto t = without_prime_at(5);  // 11 becomes a composite of the tables
  const Counts c(*t);
  const Oracle o(20000, {11});
  for (int32_t N = 6; N <= 3000; N += 2) expect_counts(N, c, o);
  for (int32_t N : random_evens(10, 3000, 19990, 63)) expect_counts(N, c, o);
}

// ---------------------------------------------------------------- listings

struct Rows {
  std::vector<std::pair<int32_t, int32_t>> v;
  PairRow visitor() {
    return [this](int32_t running, int32_t a, int32_t b) {
      EXPECT_EQ(running, static_cast<int32_t>(v.size()) + 1);
      v.push_back({a, b});
      return true;
    };
  }
};

void expect_listings(int32_t N, const Counts& c, const Oracle& o, CompositeBuffer& buf) {
  std::vector<std::pair<int32_t, int32_t>> primes, mixed, comps;
  for (int32_t p = 3; p <= N / 2; p += 2)
    if (o.odd_prime(p) && o.odd_prime(N - p)) primes.push_back({N - p, p});
  for (int32_t p = 3; p <= N - 3; p += 2)
    if (o.odd_prime(p) && o.odd_composite(N - p)) mixed.push_back({N - p, p});
  for (int32_t v = N - 9; v >= N / 2; v -= 2)
    if (o.odd_composite(v) && o.odd_composite(N - v)) comps.push_back({v, N - v});
  Rows pr, mr;
  ASSERT_TRUE(prime_pair_listing(N, c, pr.visitor()));
  ASSERT_EQ(pr.v, primes) << N;
  const PairRow mv = mr.visitor();
  ASSERT_TRUE(mixed_pair_listing(N, c, buf, &mv));
  ASSERT_EQ(mr.v, mixed) << N;
  ASSERT_GE(buf.fill, static_cast<int32_t>(comps.size())) << N;
  for (size_t r = 0; r < comps.size(); ++r) ASSERT_EQ(buf.v[r + 1], comps[r].first) << N;
}

TEST(GoldbachListings, EveryEvenNumberUpTo3000) {
  const Counts c(built_tables());
  static CompositeBuffer buf;
  for (int32_t N = 6; N <= 3000; N += 2) expect_listings(N, c, full_oracle(), buf);
}

TEST(GoldbachListings, RandomLargeNumbers) {
  const Counts c(built_tables());
  static CompositeBuffer buf;
  for (int32_t N : random_evens(full_run() ? 60 : 3, 3000, 2000000, 64))
    expect_listings(N, c, full_oracle(), buf);
  expect_listings(1998150, c, full_oracle(), buf);
  EXPECT_EQ(buf.recorded, 376786);  // more than the 375000 values once foreseen
  EXPECT_EQ(buf.fill, buf.recorded);
}

TEST(GoldbachListings, TheListsOf100) {
  const Counts c(built_tables());
  static CompositeBuffer buf;
  Rows pr, mr;
  prime_pair_listing(100, c, pr.visitor());
  const std::vector<std::pair<int32_t, int32_t>> primes = {{97, 3},  {89, 11}, {83, 17},
                                                           {71, 29}, {59, 41}, {53, 47}};
  EXPECT_EQ(pr.v, primes);
  const PairRow mv = mr.visitor();
  mixed_pair_listing(100, c, buf, &mv);
  ASSERT_EQ(mr.v.size(), 12u);
  const std::vector<std::pair<int32_t, int32_t>> first = {
      {95, 5}, {93, 7}, {87, 13}, {81, 19}, {77, 23}};
  EXPECT_EQ(std::vector(mr.v.begin(), mr.v.begin() + 5), first);
  const std::vector<int32_t> comps = {91, 85, 75, 65, 55, 51};
  for (size_t r = 0; r < comps.size(); ++r) EXPECT_EQ(buf.v[r + 1], comps[r]);
}

TEST(GoldbachListings, ThePrimeBelowNIsLeftOutOfTheMixedScan) {
  const Counts c(built_tables());
  static CompositeBuffer buf;
  for (int32_t N : {20, 32, 44, 60, 104}) {  // N - 1 prime
    Rows mr;
    const PairRow mv = mr.visitor();
    mixed_pair_listing(N, c, buf, &mv);
    for (auto [partner, p] : mr.v) EXPECT_NE(partner, 1) << N;
  }
}

TEST(GoldbachListings, AVisitorStopsTheListing) {
  const Counts c(built_tables());
  static CompositeBuffer buf;
  int rows = 0;
  const PairRow stop_at_3 = [&](int32_t running, int32_t, int32_t) {
    ++rows;
    return running < 3;
  };
  EXPECT_FALSE(prime_pair_listing(1000, c, stop_at_3));
  EXPECT_EQ(rows, 3);
  rows = 0;
  EXPECT_FALSE(mixed_pair_listing(1000, c, buf, &stop_at_3));
  EXPECT_EQ(rows, 3);
}

TEST(GoldbachListings, EditedTablesNeverLeaveTheBuffer) {
  // A huge value substituted into y: its partner is far below 0 and the
  // gap below the previous partner must not be walked down to it.
  auto t = std::make_unique<Tables>(built_tables());
  substitute(*t, 20, 2000000000);
  const Counts c(*t);
  static CompositeBuffer buf;
  EXPECT_TRUE(mixed_pair_listing(2000, c, buf, nullptr));
  EXPECT_LE(buf.fill, CompositeBuffer::kCapacity);
}

// ---------------------------------------------------------------- mixed and composite totals

void expect_totals(int32_t n, const Counts& c, const Oracle& o) {
  const double mixed = o.mixed_total(n);
  ASSERT_EQ(mixed_total_scan(n, c), mixed) << n;
  if (c.y_as_built() && c.yc_as_built()) {
    ASSERT_EQ(mixed_total_by_primes(n, c), mixed) << n;
  }
  ASSERT_EQ(mixed_halves(n, c).total(), mixed) << n;
  ASSERT_EQ(composite_pair_total(n, c).total(), o.composite_total(n)) << n;
}

TEST(GoldbachTotals, EveryEvenNumberUpTo10000AgreesWithOneNumberCounts) {
  const Counts c(built_tables());
  const Oracle& o = full_oracle();
  double mixed = 0, comps = 0;
  for (int32_t n = 6; n <= 10000; n += 2) {
    mixed += o.mixed_pairs(n);
    comps += o.composite_pairs(n);
    ASSERT_EQ(mixed_total_scan(n, c), mixed) << n;
    ASSERT_EQ(mixed_total_by_primes(n, c), mixed) << n;
    ASSERT_EQ(mixed_halves(n, c).total(), mixed) << n;
    ASSERT_EQ(composite_pair_total(n, c).total(), comps) << n;
  }
}

TEST(GoldbachTotals, RandomLargeNumbersAndTheTop) {
  const Counts c(built_tables());
  for (int32_t n : random_evens(full_run() ? 100 : 4, 10000, 2000000, 65))
    expect_totals(n, c, full_oracle());
  // At 2000000 the empty slot of yc would add 0 as a composite.
  expect_totals(2000000, c, full_oracle());
  expect_totals(1999998, c, full_oracle());
}

TEST(GoldbachTotals, TheHalvesOf100) {
  const Counts c(built_tables());
  EXPECT_EQ(mixed_total_scan(100, c), 299);
  EXPECT_EQ(mixed_total_scan(98, c), 287);
  EXPECT_EQ(mixed_first_half(100, c), 140);
  EXPECT_EQ(mixed_composite_side(100, c).count, 112);
  EXPECT_EQ(mixed_prime_side(100, c).count, 47);
  EXPECT_EQ(mixed_first_half(98, c), 140);
  EXPECT_EQ(mixed_composite_side(98, c).count, 104);
  EXPECT_EQ(mixed_prime_side(98, c).count, 43);
  const CompositePairTotal a = composite_pair_total(100, c), b = composite_pair_total(98, c);
  EXPECT_EQ(a.comb, 55);
  EXPECT_EQ(a.scan, 59);
  EXPECT_EQ(b.comb, 55);
  EXPECT_EQ(b.scan, 53);
  // The composite side starts at index 11 with 51 and its 14 odd primes up to 49.
  std::vector<std::vector<double>> rows;
  const HalfRow row = [&](int32_t k, int32_t cv, int32_t d, int32_t primes, double running) {
    rows.push_back({double(k), double(cv), double(d), double(primes), running});
    return true;
  };
  mixed_composite_side(100, c, &row);
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0], (std::vector<double>{11, 51, 49, 14, 14}));
}

TEST(GoldbachTotals, EditedTablesFollowTheTable) {
  const auto t = without_prime_at(7);  // 17 out
  const Counts c(*t);
  const Oracle o(20000, {17});
  for (int32_t n = 6; n <= 2000; n += 2) expect_totals(n, c, o);
  for (int32_t n : random_evens(5, 2000, 19990, 66)) expect_totals(n, c, o);
}

// ---------------------------------------------------------------- searches

std::vector<int32_t> search(PairKind kind, int32_t K, const Counts& c) {
  std::vector<int32_t> found;
  const int32_t n = equal_count_search(kind, K, c, [&](int32_t counter, int32_t v) {
    EXPECT_EQ(counter, static_cast<int32_t>(found.size()) + 1);
    found.push_back(v);
    return true;
  });
  EXPECT_EQ(n, static_cast<int32_t>(found.size()));
  return found;
}

TEST(GoldbachSearches, TheListsOfTheMenu) {
  const Counts c(built_tables(), 12004);
  EXPECT_EQ(search(PairKind::Primes, 1, c), (std::vector<int32_t>{6, 8, 12}));
  EXPECT_EQ(search(PairKind::Primes, 2, c),
            (std::vector<int32_t>{10, 14, 16, 18, 20, 28, 32, 38, 68}));
  EXPECT_EQ(search(PairKind::Composites, 0, c),
            (std::vector<int32_t>{6, 8, 10, 12, 14, 16, 20, 22, 26, 28, 32, 38}));
  const auto one = search(PairKind::Composites, 1, c);
  EXPECT_EQ(std::vector(one.begin(), one.begin() + 10),
            (std::vector<int32_t>{18, 24, 34, 40, 44, 46, 52, 56, 62, 68}));
  EXPECT_EQ(search(PairKind::Mixed, 0, c), (std::vector<int32_t>{6, 8, 10}));
  EXPECT_EQ(search(PairKind::Mixed, 1, c), (std::vector<int32_t>{12, 14, 16, 18, 24}));
}

// The brute-force lists for every K from 0 to 100 of each kind.
void expect_searches(const Counts& c, const Oracle& o, const std::vector<int32_t>& ks) {
  const Oracle::AllPairs all = o.all_pairs(12004);
  for (PairKind kind : {PairKind::Primes, PairKind::Composites, PairKind::Mixed}) {
    const std::vector<int32_t>& pairs = kind == PairKind::Primes       ? all.primes
                                        : kind == PairKind::Composites ? all.composites
                                                                       : all.mixed;
    for (int32_t K : ks) {
      std::vector<int32_t> want;
      const int32_t from = kind == PairKind::Primes && K == 1 ? 4 : 6;
      for (int32_t n = from; n <= from + 11998; n += 2)
        if (pairs[n] == K) want.push_back(n);
      ASSERT_EQ(search(kind, K, c), want) << int(kind) << " K=" << K;
    }
  }
}

TEST(GoldbachSearches, AgainstBruteForceLists) {
  const Counts c(built_tables(), 12004);
  // The brute force itself, at a few numbers.
  const Oracle::AllPairs all = full_oracle().all_pairs(12004);
  for (int32_t n : {6, 100, 1000, 9998, 12004}) {
    EXPECT_EQ(all.primes[n], full_oracle().prime_pairs(n));
    EXPECT_EQ(all.composites[n], full_oracle().composite_pairs(n));
    EXPECT_EQ(all.mixed[n], full_oracle().mixed_pairs(n));
  }
  expect_searches(c, full_oracle(), {0, 1, 2, 13, 100});
}

TEST(GoldbachSearchesFull, EveryKUpTo100) {
  if (!full_run()) GTEST_SKIP();
  const Counts c(built_tables(), 12004);
  std::vector<int32_t> ks;
  for (int32_t K = 0; K <= 100; ++K) ks.push_back(K);
  expect_searches(c, full_oracle(), ks);
}

TEST(GoldbachSearches, EditedTableSearchesFollowTheTable) {
  // (A composite below 9 would be missed by the composite total, which
  // knows that none exists in a table as built.)
  const auto t = without_prime_at(6);  // 13 out
  const Counts c(*t, 12004);
  expect_searches(c, Oracle(20000, {13}), {0, 1, 2, 7});
}

TEST(GoldbachSearches, AVisitorStopsTheSearch) {
  const Counts c(built_tables(), 12004);
  EXPECT_EQ(equal_count_search(PairKind::Primes, 2, c, [](int32_t k, int32_t) { return k < 2; }),
            -1);
}

// ---------------------------------------------------------------- reverse method

TEST(GoldbachReverse, TotalsOfTheMenu) {
  const Counts c(built_tables());
  for (ReverseForm form : {ReverseForm::Twice, ReverseForm::Plain}) {
    for (auto [N, total] : {std::pair{20, 13}, {100, 187}, {1000, 8221}}) {
      const CentralPrimes cp = central_primes(form, N, c);
      EXPECT_EQ(reverse_pair_scan(form, N, cp.K, c), total) << N;
    }
  }
  const CentralPrimes cp = central_primes(ReverseForm::Twice, 20, c);
  EXPECT_EQ(cp.p1, 7);
  EXPECT_EQ(cp.p2, 11);
  EXPECT_EQ(cp.K, 154);
  EXPECT_EQ(cp.primes_to_n, 8);
  EXPECT_EQ(central_primes(ReverseForm::Plain, 20, c).K, 77);
  // N = 2p: both central primes are p.
  const CentralPrimes twin = central_primes(ReverseForm::Plain, 26, c);
  EXPECT_EQ(twin.p1, 13);
  EXPECT_EQ(twin.p2, 13);
  EXPECT_EQ(twin.K, 169);
  EXPECT_EQ(central_primes(ReverseForm::Twice, 26, c).K, 338);
}

TEST(GoldbachReverse, TheStepsOf20) {
  const Counts c(built_tables());
  std::vector<double> counts;
  const ReverseVisit v = [&](const ReverseStep& s) {
    counts.push_back(s.count);
    EXPECT_EQ(s.k - s.j + 1, s.count);
    return true;
  };
  reverse_pair_scan(ReverseForm::Twice, 20, 154, c, &v);
  EXPECT_EQ(counts, (std::vector<double>{6, 4, 3}));
}

TEST(GoldbachReverse, TotalsAgainstBruteForce) {
  const Counts c(built_tables());
  std::vector<int32_t> ns = random_evens(full_run() ? 100 : 6, 6, 2000000, 67);
  for (int32_t N : {6, 8, 10, 26, 160000, 160002, 1999998, 2000000}) ns.push_back(N);
  for (int32_t N : ns) {
    const double want = full_oracle().prime_total(N);
    for (ReverseForm form : {ReverseForm::Twice, ReverseForm::Plain}) {
      const CentralPrimes cp = central_primes(form, N, c);
      ASSERT_EQ(reverse_pair_scan(form, N, cp.K, c), want) << N;
    }
  }
}

TEST(GoldbachReverse, TheWalkOfAnEditedTableEndsWhereTheLookupDoes) {
  const auto e = as_if_edited();
  const Counts literal(*e), fast(built_tables());
  // 40000 (and 160002) send q2 above 2000000, so the count of primes
  // there comes from the prime counting.
  std::vector<int32_t> ns = {20, 1000, 40000};
  if (full_run()) ns.push_back(160002);
  for (int32_t N : ns) {
    for (ReverseForm form : {ReverseForm::Twice, ReverseForm::Plain}) {
      std::vector<int32_t> a, b;
      const ReverseVisit va = [&](const ReverseStep& s) { return a.push_back(s.k), true; };
      const ReverseVisit vb = [&](const ReverseStep& s) { return b.push_back(s.k), true; };
      const double K = central_primes(form, N, fast).K;
      EXPECT_EQ(reverse_pair_scan(form, N, K, literal, &va),
                reverse_pair_scan(form, N, K, fast, &vb));
      EXPECT_EQ(a, b) << N;
    }
  }
}

TEST(GoldbachReverse, EditedTableTotalsFollowTheTable) {
  const auto t = without_prime_at(6);  // 13 out
  const Counts c(*t);
  const Oracle o(40000, {13});
  for (int32_t N : {20, 100, 1000, 20000}) {
    for (ReverseForm form : {ReverseForm::Twice, ReverseForm::Plain}) {
      const CentralPrimes cp = central_primes(form, N, c);
      EXPECT_EQ(reverse_pair_scan(form, N, cp.K, c), o.prime_total(N)) << N;
    }
  }
}

// The scan of gold and gold1 as the procedure reads, straight on the table:
// the prime count of the partner bound picks the start of the walk (148934
// or Phi(N)), which steps down one entry at a time while y(k) + p > N.  The
// count is taken only when the start matters: when some entry between the
// two starts is at most N - p, where a walk from the higher one would stop.
std::vector<ReverseStep> literal_steps(ReverseForm form, int32_t N, double K, const Tables& t) {
  std::vector<ReverseStep> out;
  const int32_t f = form == ReverseForm::Twice ? t.y[1] : 1;
  if (f > 2 || f < 1) return out;
  const double bound = K / f;
  const int32_t primes_to_n = findp_of(N, t);
  const int32_t lo = std::min(148934, primes_to_n), hi = std::max(148934, primes_to_n);
  int64_t between = INT64_MAX;
  for (int32_t k = lo + 1; k <= hi; ++k) between = std::min<int64_t>(between, t.y[k]);
  double total = 0;
  for (int32_t j = 2; j <= kYSize; ++j) {
    const int32_t p = t.y[j];
    if (p < 1) break;
    if (form == ReverseForm::Plain && p > std::sqrt(K)) break;
    if (bound / p < p) break;
    int32_t k = lo;
    if (static_cast<int64_t>(N) - p >= between) {
      const auto q2 = static_cast<int32_t>(std::min(std::trunc(bound / p), 2147483647.0));
      const int32_t below = q2 > 2000000 ? trova1_of(q2, t) : findp_of(q2, t);
      k = below > 148934 ? 148934 : primes_to_n;
    }
    while (k >= 1 && static_cast<int64_t>(t.y[k]) + p > N) --k;
    ReverseStep s{j, p, k, static_cast<double>(k) - j + 1, 0};
    if (s.count > 0) total += s.count;
    s.total = total;
    out.push_back(s);
    if (s.count <= 0) break;
  }
  return out;
}

// Every step of both forms against the literal scan, on one table.
void expect_literal_steps(const Tables& t, const std::vector<int32_t>& ns,
                          const std::string& what) {
  const Counts c(t);
  for (int32_t N : ns) {
    for (ReverseForm form : {ReverseForm::Twice, ReverseForm::Plain}) {
      const double K = central_primes(form, N, c).K;
      std::vector<ReverseStep> got;
      const ReverseVisit v = [&](const ReverseStep& s) { return got.push_back(s), true; };
      const double total = reverse_pair_scan(form, N, K, c, &v);
      const std::vector<ReverseStep> want = literal_steps(form, N, K, t);
      ASSERT_EQ(got.size(), want.size()) << what << " N=" << N << " form " << int(form);
      for (size_t i = 0; i < want.size(); ++i) {
        ASSERT_EQ(got[i].j, want[i].j) << what << " N=" << N;
        ASSERT_EQ(got[i].k, want[i].k) << what << " N=" << N << " p=" << want[i].p;
        ASSERT_EQ(got[i].total, want[i].total) << what << " N=" << N;
      }
      ASSERT_EQ(total, want.empty() ? 0 : want.back().total) << what << " N=" << N;
    }
  }
}

// Random edits of all three kinds; four even N up to 3000, where the
// literal walk is cheap and no partner bound passes 2000000, and one up to
// `top`.
void sweep_literal_steps(int tables, int32_t top, uint32_t seed) {
  std::mt19937 g(seed);
  for (int i = 0; i < tables; ++i) {
    const testing::EditedTables e = testing::random_edits(g);
    std::vector<int32_t> ns = random_evens(4, 6, 3000, seed + i);
    ns.push_back(random_evens(1, 3000, top, seed + 1000 + i)[0]);
    expect_literal_steps(*e.t, ns, e.what);
  }
}

TEST(GoldbachReverse, EditedTablesTakeTheStepsOfTheLiteralScan) {
  // Edits that move the start of the walk: a small entry among the first
  // primes above 2000000, where one start sees it and the other does not
  // (so the partner bound decides), and an entry read on the search path
  // of N that sends Phi(N) to the empty slots at the end of y.
  for (auto [i, v] : {std::pair{148934, 9}, {148963, 9}, {148940, 0}, {100, 9}, {2, 1}}) {
    testing::EditedTables e = testing::copy_as_built();
    testing::edit_substitute(e, i, v);
    expect_literal_steps(*e.t, {20, 1000, 20000, 20002}, e.what);
  }
  testing::EditedTables e = testing::copy_as_built();
  testing::edit_take_out(e, 100);
  expect_literal_steps(*e.t, {1000, 30000}, e.what);
  sweep_literal_steps(8, 30000, 71);
  // A small entry among the first primes above N = 1000000, so that every
  // partner bound decides the start; some of the bounds above 2000000 are
  // compared with the 148935th prime, others (findp on the table differs
  // from as built near the search path of the slot) counted.
  testing::EditedTables near = testing::copy_as_built();
  testing::edit_substitute(near, 120000, 9);
  expect_literal_steps(*near.t, {1000000}, near.what);
}

TEST(GoldbachReverseFull, EditedTablesTakeTheStepsOfTheLiteralScan) {
  if (!full_run()) GTEST_SKIP();
  sweep_literal_steps(80, 200000, 72);
  testing::EditedTables e = testing::copy_as_built();
  testing::edit_take_out(e, 100);
  testing::edit_substitute(e, 148000, 9);
  expect_literal_steps(*e.t, {2000000}, e.what);
  for (int32_t i : {78499, 100000, 148934}) {
    testing::EditedTables one = testing::copy_as_built();
    testing::edit_substitute(one, i, 9);
    expect_literal_steps(*one.t, {1000000, 1500000}, one.what);
  }
}

TEST(GoldbachReverse, AFirstEntryOtherThan2StopsGold) {
  auto t = std::make_unique<Tables>(built_tables());
  take_out(*t, 1);  // y starts 3, 5, 7
  build_yc(*t, 1, 1, 0);
  const Counts c(*t);
  EXPECT_EQ(reverse_pair_scan(ReverseForm::Twice, 100, 1000, c), 0);
  substitute(*t, 1, 0);  // a first entry of 0 would divide by zero
  const Counts c0(*t);
  EXPECT_EQ(reverse_pair_scan(ReverseForm::Twice, 100, 1000, c0), 0);
}

}  // namespace
}  // namespace ntb
