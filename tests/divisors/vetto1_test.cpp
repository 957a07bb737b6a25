// The divisor-count listings: the counting pass against divisor counts by
// sieve, the listing pass against sums of divisors, Euler functions and
// factorizations by brute force, and the dialogue with its exact records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "divisors/commands.hpp"
#include "divisors/engine/divisor_listing.hpp"
#include "divisors/engine/divisor_prefixes.hpp"
#include "divisors/engine/divisor_vector.hpp"
#include "numtheory/count/prime_count.hpp"
#include "numtheory/factor/factor.hpp"
#include "numtheory/int_math.hpp"
#include "support/dialogue.hpp"
#include "support/scripted_console.hpp"
#include "support/table_edits.hpp"

namespace ntb {
namespace {

using testing::built_tables;
using testing::full_run;
using testing::Harness;
using testing::index_of;
using testing::kLogRule;
using testing::kPause;
using testing::transcript;

// Divisor counts, sums of divisors and Euler functions of 1..M by sieve.
struct ArithmeticSieve {
  explicit ArithmeticSieve(int32_t M) : tau(M + 1), sigma(M + 1), phi(M + 1) {
    for (int32_t d = 1; d <= M; ++d)
      for (int32_t n = d; n <= M; n += d) {
        ++tau[n];
        sigma[n] += d;
      }
    for (int32_t n = 0; n <= M; ++n) phi[n] = n;
    for (int32_t p = 2; p <= M; ++p)
      if (phi[p] == p)
        for (int32_t n = p; n <= M; n += p) phi[n] -= phi[n] / p;
  }
  std::vector<int32_t> tau;
  std::vector<int64_t> sigma;
  std::vector<int32_t> phi;
};

const ArithmeticSieve& sieve1e6() {
  static const ArithmeticSieve s(1000000);
  return s;
}

// The vector by brute force for every bound in `bounds` (ascending): the
// histogram of divisor counts of 1..N.
template <class Check>
void walk_histograms(const std::vector<int32_t>& tau, const std::vector<int32_t>& bounds,
                     Check check) {
  std::vector<int64_t> hist(kVectorSlots + 1, 0);
  int32_t n = 0;
  for (int32_t N : bounds) {
    while (n < N) ++hist[tau[++n]];
    check(N, hist);
  }
}

void expect_vector(int32_t N, const std::vector<int64_t>& hist, const Tables& t) {
  static DivisorVector v;
  count_divisor_vector(N, t, v);
  for (int32_t tau = 1; tau <= kVectorSlots; ++tau)
    ASSERT_EQ(v.slot[tau], hist[tau]) << "N=" << N << " tau=" << tau;
  ASSERT_EQ(v.primes, hist[2]) << "N=" << N;
  ASSERT_EQ(v.composites, N - 1 - hist[2]) << "N=" << N;
}

TEST(DivisorVector, EveryBoundUpTo10000MatchesSieve) {
  std::vector<int32_t> bounds;
  for (int32_t N = 1; N <= 10000; ++N) bounds.push_back(N);
  walk_histograms(sieve1e6().tau, bounds, [&](int32_t N, const std::vector<int64_t>& h) {
    expect_vector(N, h, built_tables());
  });
}

TEST(DivisorVector, RandomBoundsUpToAMillionMatchSieve) {
  std::mt19937 rng(4);
  std::vector<int32_t> bounds;
  for (int i = 0; i < 60; ++i)
    bounds.push_back(std::uniform_int_distribution<int32_t>(1, 1000000)(rng));
  bounds.push_back(1000000);
  bounds.push_back(100000);
  std::sort(bounds.begin(), bounds.end());
  walk_histograms(sieve1e6().tau, bounds, [&](int32_t N, const std::vector<int64_t>& h) {
    expect_vector(N, h, built_tables());
  });
}

TEST(DivisorVector, FullEveryBoundUpTo200000MatchesSieve) {
  const int32_t step = full_run() ? 1 : 211;
  std::vector<int32_t> bounds;
  for (int32_t N = 10001; N <= 200000; N += step) bounds.push_back(N);
  walk_histograms(sieve1e6().tau, bounds, [&](int32_t N, const std::vector<int64_t>& h) {
    expect_vector(N, h, built_tables());
  });
}

// Bounds from 4000002 on need trova1 for the quotients N div 2, N div 3, ...
TEST(DivisorVector, BoundsAboveTheTableMatchSieve) {
  const int32_t M = 6000000;
  std::vector<int32_t> tau(M + 1, 0);
  for (int32_t d = 1; d <= M; ++d)
    for (int32_t n = d; n <= M; n += d) ++tau[n];
  std::mt19937 rng(12);
  std::vector<int32_t> bounds = {4000001, 4000002, M};
  for (int i = 0; i < 4; ++i)
    bounds.push_back(std::uniform_int_distribution<int32_t>(4000003, M)(rng));
  std::sort(bounds.begin(), bounds.end());
  walk_histograms(tau, bounds, [&](int32_t N, const std::vector<int64_t>& h) {
    expect_vector(N, h, built_tables());
  });
}

TEST(DivisorVector, LargeBoundsAddUpToNAndCountThePrimes) {
  static DivisorVector v;
  const struct {
    int32_t N, primes;
  } cases[] = {
      {100000, 9592}, {100000000, 5761455}, {1000000000, 50847534}, {2147483647, 105097565}};
  for (const auto& c : cases) {
    count_divisor_vector(c.N, built_tables(), v);
    EXPECT_EQ(v.primes, c.primes) << c.N;
    int64_t sum = 0;
    for (int32_t tau = 1; tau <= kVectorSlots; ++tau) sum += v.slot[tau];
    EXPECT_EQ(sum, c.N) << c.N;
  }
  // 2095133040 has 1600 divisors and nothing up to 2^31 - 1 has more.
  EXPECT_GE(v.slot[1600], 1);
  for (int32_t tau = 1601; tau <= kVectorSlots; ++tau) ASSERT_EQ(v.slot[tau], 0) << tau;
}

TEST(DivisorVector, EdgeBounds) {
  static DivisorVector v;
  count_divisor_vector(1, built_tables(), v);
  EXPECT_EQ(v.slot[1], 1);
  EXPECT_EQ(v.primes, 0);
  for (int32_t tau = 2; tau <= kVectorSlots; ++tau) ASSERT_EQ(v.slot[tau], 0);
  count_divisor_vector(100, built_tables(), v);
  const int64_t expect[13] = {0, 1, 25, 4, 32, 2, 16, 1, 10, 2, 2, 0, 5};
  for (int32_t tau = 1; tau <= 12; ++tau) EXPECT_EQ(v.slot[tau], expect[tau]) << tau;
  for (int32_t tau = 13; tau <= kVectorSlots; ++tau) ASSERT_EQ(v.slot[tau], 0);
}

// Counts follow the table: the same vector through findp as through the
// lookup, and, with 2 taken out of y, only the odd composites are met.
TEST(DivisorVector, FollowsTheTable) {
  auto searched = std::make_unique<Tables>(built_tables());
  searched->y_pristine = false;
  static DivisorVector a, b;
  for (int32_t N : {9999, 777777, 30000000}) {
    count_divisor_vector(N, built_tables(), a);
    count_divisor_vector(N, *searched, b);
    EXPECT_EQ(a.slot, b.slot) << N;
  }

  auto no2 = std::make_unique<Tables>(built_tables());
  take_out(*no2, 1);
  build_yc(*no2, 1, 1, 0);
  const int32_t N = 300000;
  count_divisor_vector(N, *no2, a);
  std::vector<int64_t> hist(kVectorSlots + 1, 0);
  int64_t odd_composites = 0;
  for (int32_t n = 9; n <= N; n += 2)
    if (sieve1e6().tau[n] > 2) {
      ++hist[sieve1e6().tau[n]];
      ++odd_composites;
    }
  for (int32_t tau = 3; tau <= kVectorSlots; ++tau) ASSERT_EQ(a.slot[tau], hist[tau]) << tau;
  EXPECT_EQ(a.primes, N - odd_composites - 1);
}

// The counting pass on many edited tables against the pass written plainly:
// the same prefixes, each count a binary search in y (findp) up to 2000000
// and the prime count term by term above.
void sweep_vector_edits(int tables, std::vector<int32_t> bounds) {
  static DivisorVector got;
  static PrefixChain ch;
  for (int k = 0; k < tables; ++k) {
    const auto e = testing::random_edits(4000 + k);
    for (int32_t N : bounds) {
      count_divisor_vector(N, *e.t, got);
      std::vector<int64_t> want(kVectorSlots + 1, 0);
      int64_t C = 0;
      for_each_prefix(N, *e.t, ch, [&](const PrefixChain& c, int L) {
        double m = c.lv[L].Q;
        if (m > 2000000) {
          trova1_by_terms(m, *e.t);
        } else {
          m = findp_of(c.lv[L].Q, *e.t);
        }
        const int64_t s = static_cast<int64_t>(m) - c.lv[L].t + 1;
        C += s;
        if (tau_next_prime(c, L) <= kVectorSlots) want[tau_next_prime(c, L)] += s - 1;
        if (tau_last_prime(c, L) <= kVectorSlots) want[tau_last_prime(c, L)] += 1;
        return true;
      });
      want[1] = 1;
      want[2] = saturate32(int64_t{N} - C - 1);
      ASSERT_EQ(got.primes, want[2]) << N << e.what;
      for (int32_t tau = 1; tau <= kVectorSlots; ++tau)
        ASSERT_EQ(got.slot[tau], want[tau]) << "tau " << tau << " N " << N << e.what;
    }
  }
}

TEST(DivisorVector, EditedTablesCountAsThePlainPass) {
  sweep_vector_edits(8, {99999, 5000000, 60000000});
}

TEST(DivisorVector, FullEditedTablesCountAsThePlainPass) {
  if (!full_run()) GTEST_SKIP() << "NTBENCH_FULL not set";
  sweep_vector_edits(60, {777, 99999, 3000001, 60000000, 2147483647});
}

// Entries that are no primes (0, 1, repeated 2s typed at the substitution)
// neither hang the pass nor take it outside its arrays.
TEST(DivisorVector, EditedEntriesBelowTwoAndRepeatsStayInBounds) {
  auto t = std::make_unique<Tables>(built_tables());
  substitute(*t, 3, 1);
  substitute(*t, 6, 0);
  static DivisorVector v;
  count_divisor_vector(100000, *t, v);
  EXPECT_GT(v.primes, 0);

  auto twos = std::make_unique<Tables>(built_tables());
  for (int32_t i = 2; i <= 11; ++i) substitute(*twos, i, 2);  // eleven 2s
  static PrefixChain ch;
  int deepest = 0;
  for_each_prefix(3000, *twos, ch, [&](const PrefixChain&, int L) {
    deepest = std::max(deepest, L);
    return true;
  });
  EXPECT_EQ(deepest, 10);  // 2^11 <= 3000: ten levels and the last prime
  count_divisor_vector(3000, *twos, v);
}

// --- the listing pass ---

struct Collect final : RowSink {
  bool row(const ListedRow& r) override {
    rows.push_back(r);
    return stop_after == 0 || static_cast<int32_t>(rows.size()) < stop_after;
  }
  std::vector<ListedRow> rows;
  int32_t stop_after = 0;
};

std::vector<int32_t> numbers(const std::vector<ListedRow>& rows) {
  std::vector<int32_t> out;
  for (const auto& r : rows) out.push_back(r.n);
  return out;
}

// sigma, phi and the factors of one row against the factorization of n.
void expect_row_matches(const ListedRow& r, int32_t d) {
  Factors f;
  primefac(r.n, f);
  int64_t tau = 1;
  double sigma = 1;
  int64_t phi = 1;
  for (int i = 1; i <= f.nf; ++i) {
    tau *= f.e[i] + 1;
    int64_t s = 1, pw = 1;
    for (int j = 1; j <= f.e[i]; ++j) s += (pw *= f.f[i]);
    sigma *= static_cast<double>(s);
    phi *= (f.f[i] - 1) * (pw / f.f[i]);
  }
  ASSERT_EQ(tau, d) << r.n;
  ASSERT_EQ(r.sigma, sigma) << r.n;
  ASSERT_EQ(r.phi, phi) << r.n;
  // The factor line: the prefix's primes, then q^1 for P*q.
  const int32_t nf = r.L + (r.q > 0 ? 1 : 0);
  ASSERT_EQ(nf, f.nf) << r.n;
  for (int i = 1; i <= r.L; ++i) {
    ASSERT_EQ(r.f[i], f.f[i]) << r.n;
    ASSERT_EQ(r.e[i], f.e[i]) << r.n;
  }
  if (r.q > 0) {
    ASSERT_EQ(r.q, f.f[nf]) << r.n;
    ASSERT_EQ(f.e[nf], 1) << r.n;
  }
}

TEST(DivisorListing, HundredWithSixDivisorsInGenerationOrder) {
  Collect c;
  const ListingResult res = list_divisor_class(100, 6, built_tables(), 2000, c);
  EXPECT_EQ(res.k, 16);
  EXPECT_FALSE(res.cut);
  EXPECT_FALSE(res.quit);
  EXPECT_EQ(numbers(c.rows),
            (std::vector<int32_t>{18, 50, 98, 12, 20, 28, 44, 52, 68, 76, 92, 32, 75, 45, 63, 99}));
  const ListedRow& r18 = c.rows[0];
  EXPECT_EQ(r18.k, 1);
  EXPECT_EQ(r18.sigma, 39);
  EXPECT_EQ(r18.phi, 6);
  EXPECT_EQ(r18.L, 2);
  EXPECT_EQ(r18.q, 0);
  EXPECT_EQ(r18.f[1], 2);
  EXPECT_EQ(r18.e[1], 1);
  EXPECT_EQ(r18.f[2], 3);
  EXPECT_EQ(r18.e[2], 2);
  const ListedRow& r12 = c.rows[3];
  EXPECT_EQ(r12.sigma, 28);
  EXPECT_EQ(r12.phi, 4);
  EXPECT_EQ(r12.L, 1);
  EXPECT_EQ(r12.f[1], 2);
  EXPECT_EQ(r12.e[1], 2);
  EXPECT_EQ(r12.q, 3);
  for (const auto& r : c.rows) expect_row_matches(r, 6);
}

// Every integer with d divisors, once, with the right sums, Euler functions
// and factors, for every d that occurs.
void check_all_classes(int32_t N) {
  const auto& s = sieve1e6();
  std::map<int32_t, std::vector<int32_t>> by_tau;
  for (int32_t n = 2; n <= N; ++n)
    if (s.tau[n] > 2) by_tau[s.tau[n]].push_back(n);
  for (const auto& [d, expect] : by_tau) {
    Collect c;
    const ListingResult res = list_divisor_class(N, d, built_tables(), 1 << 30, c);
    ASSERT_EQ(res.k, static_cast<int32_t>(expect.size())) << "N=" << N << " d=" << d;
    std::vector<int32_t> got = numbers(c.rows);
    std::sort(got.begin(), got.end());
    ASSERT_EQ(got, expect) << "N=" << N << " d=" << d;
    for (const auto& r : c.rows) {
      ASSERT_EQ(r.sigma, static_cast<double>(s.sigma[r.n])) << r.n;
      ASSERT_EQ(r.phi, s.phi[r.n]) << r.n;
      expect_row_matches(r, d);
    }
  }
  // d = 1 and d = 2: 1 and the primes are never generated.
  for (int32_t d : {1, 2}) {
    Collect c;
    EXPECT_EQ(list_divisor_class(N, d, built_tables(), 2000, c).k, 0);
  }
}

TEST(DivisorListing, RandomBoundsMatchBruteForce) {
  std::mt19937 rng(7);
  for (int i = 0; i < 6; ++i)
    check_all_classes(std::uniform_int_distribution<int32_t>(1, 60000)(rng));
  check_all_classes(100);
  check_all_classes(1);
}

TEST(DivisorListing, FullBoundsMatchBruteForce) {
  std::mt19937 rng(8);
  const int samples = full_run() ? 25 : 1;
  for (int i = 0; i < samples; ++i)
    check_all_classes(std::uniform_int_distribution<int32_t>(60000, 1000000)(rng));
}

TEST(DivisorListing, TheLimitCutsAfter2000) {
  Collect all;
  list_divisor_class(100000, 4, built_tables(), 1 << 30, all);
  ASSERT_GT(all.rows.size(), 2000u);

  Collect cut;
  const ListingResult res = list_divisor_class(100000, 4, built_tables(), 2000, cut);
  EXPECT_EQ(res.k, 2001);
  EXPECT_TRUE(res.cut);
  ASSERT_EQ(cut.rows.size(), 2000u);
  for (size_t i = 0; i < 2000; ++i) ASSERT_EQ(cut.rows[i].n, all.rows[i].n);

  // Exactly as many integers as the limit: not cut.
  Collect six;
  const int32_t k = list_divisor_class(100000, 6, built_tables(), 1 << 30, six).k;
  Collect again;
  const ListingResult exact = list_divisor_class(100000, 6, built_tables(), k, again);
  EXPECT_EQ(exact.k, k);
  EXPECT_FALSE(exact.cut);

  // The sink stops the pass.
  Collect three;
  three.stop_after = 3;
  const ListingResult quit = list_divisor_class(100000, 4, built_tables(), 2000, three);
  EXPECT_TRUE(quit.quit);
  EXPECT_EQ(quit.k, 3);
}

// With 13 typed over by 1 the table holds every prime but 13, and the 1
// lies inside the range of last primes q of the prefixes below 13: it is
// passed over and the primes after it are still listed, so each class is
// every integer with d divisors and without the factor 13, once.
void expect_classes_without_13(const Tables& t, int32_t N) {
  const auto& s = sieve1e6();
  std::map<int32_t, std::vector<int32_t>> by_tau;
  for (int32_t n = 2; n <= N; ++n)
    if (s.tau[n] > 2 && n % 13 != 0) by_tau[s.tau[n]].push_back(n);
  for (const auto& [d, expect] : by_tau) {
    Collect c;
    list_divisor_class(N, d, t, 1 << 30, c);
    std::vector<int32_t> got = numbers(c.rows);
    std::sort(got.begin(), got.end());
    ASSERT_EQ(got, expect) << "N=" << N << " d=" << d;
    for (const auto& r : c.rows) {
      ASSERT_EQ(r.sigma, static_cast<double>(s.sigma[r.n])) << r.n;
      ASSERT_EQ(r.phi, s.phi[r.n]) << r.n;
    }
  }
}

TEST(DivisorListing, EditedEntriesAmongTheLastPrimesArePassedOver) {
  auto one = std::make_unique<Tables>(built_tables());
  substitute(*one, 6, 1);  // 13 -> 1
  Collect c;
  list_divisor_class(100, 4, *one, 2000, c);
  // 2 q for q = 3 .. 47 without 13 come first: 34 follows 22.
  const std::vector<int32_t> n = numbers(c.rows);
  ASSERT_GE(n.size(), 13u);
  EXPECT_EQ(std::vector<int32_t>(n.begin(), n.begin() + 13),
            (std::vector<int32_t>{6, 10, 14, 22, 34, 38, 46, 58, 62, 74, 82, 86, 94}));
  for (int32_t N : {100, 5000, 60000}) expect_classes_without_13(*one, N);

  // A value far above every quotient: P*q would pass N (and 32 bits), so
  // it is passed over in the same way.
  auto big = std::make_unique<Tables>(built_tables());
  substitute(*big, 6, 1000000);
  Collect b;
  list_divisor_class(100, 4, *big, 2000, b);
  const std::vector<int32_t> nb = numbers(b.rows);
  ASSERT_GE(nb.size(), 13u);
  EXPECT_EQ(std::vector<int32_t>(nb.begin(), nb.begin() + 13),
            (std::vector<int32_t>{6, 10, 14, 22, 34, 38, 46, 58, 62, 74, 82, 86, 94}));
  for (int32_t v : nb) EXPECT_LE(v, 100);
}

// At the top of the range the quotients pass 2000000 (trova1) and the
// listed primes q run far up the table.
TEST(DivisorListing, TopOfTheRange) {
  static DivisorVector v;
  count_divisor_vector(2147483647, built_tables(), v);
  for (int32_t d : {1600, 1536, 4, 8}) {
    Collect c;
    const ListingResult res = list_divisor_class(2147483647, d, built_tables(), 2000, c);
    EXPECT_EQ(res.cut, v.slot[d] > 2000) << d;
    EXPECT_EQ(static_cast<int64_t>(c.rows.size()), std::min<int64_t>(v.slot[d], 2000)) << d;
    for (const auto& r : c.rows) expect_row_matches(r, d);
  }
  Collect top;
  list_divisor_class(2147483647, 1600, built_tables(), 2000, top);
  const std::vector<int32_t> n = numbers(top.rows);
  EXPECT_NE(std::find(n.begin(), n.end(), 2095133040), n.end());
}

// --- the dialogue ---

std::string fmt(const char* f, long long a) {
  char buf[64];
  std::snprintf(buf, sizeof buf, f, a);
  return buf;
}

// The log lines of the vector table as "(A1,I5,A1,I10,A2,...)" writes them.
std::vector<std::string> table_lines(const std::vector<int64_t>& slots, int32_t maxd) {
  std::vector<std::string> out;
  for (int32_t tau = 1; tau <= maxd; tau += 4) {
    std::string line;
    for (int32_t j = 0; j < 4; ++j) {
      const int32_t s = tau + j;
      line += j == 0 ? " " : " |";
      line += fmt("%5lld", s);
      line += " ";
      line += fmt("%10lld", s < static_cast<int32_t>(slots.size()) ? slots[s] : 0);
    }
    out.push_back(line);
  }
  return out;
}

// The screen line that ends with s (a keyboard read leaves the prompt and
// the next record on one line of the scripted screen).
size_t line_ending(const std::vector<std::string>& lines, const std::string& s) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].size() >= s.size() &&
        lines[i].compare(lines[i].size() - s.size(), s.size(), s) == 0)
      return i;
  return std::string::npos;
}

TEST(Vetto1Session, HundredWithSixDivisors) {
  // N, the pause, the pause after the vector, the pause after the table,
  // d, the pause before the listing, a key and a pause at 20 lines, the
  // pause after the listing, a key and a pause at 40 lines, the pauses at
  // the end.
  Harness h({"100", "", "", "", "", "6", "", "", "x", "", "", "x", "", "", ""});
  ASSERT_TRUE(h.run([](Session& s) { vetto1(s); }));
  const auto log = h.log_lines();
  // The vector table, then the listing in generation order: 18, 50, 98, 12, ...
  const std::vector<std::string> expect = transcript("vetto1_100_six_divisors_head.log");
  ASSERT_GE(log.size(), expect.size());
  for (size_t i = 0; i < expect.size(); ++i) EXPECT_EQ(log[i], expect[i]) << i;

  const int ordered = index_of(log, "           ORDERED LIST OF DIVISORS");
  ASSERT_NE(ordered, -1);
  const int32_t sorted[16] = {12, 18, 20, 28, 32, 44, 45, 50, 52, 63, 68, 75, 76, 92, 98, 99};
  for (int j = 0; j < 16; ++j)
    EXPECT_EQ(log[ordered + 1 + j], fmt("%10lld", j + 1) + fmt("%10lld", sorted[j]));
  EXPECT_EQ(log[ordered + 17], kLogRule);
  EXPECT_EQ(log.size(),
            static_cast<size_t>(ordered) + 19);  // the rule, then the empty tail after CR LF

  const auto scr = h.screen_lines();
  EXPECT_NE(index_of(scr, "there are          25 prime numbers"), -1);
  EXPECT_NE(index_of(scr, "         V E C T O R    R E A D Y"), -1);
  EXPECT_NE(line_ending(scr, "There are         16 numbers with "), std::string::npos);
  EXPECT_NE(index_of(scr, "          6  divisors up to   "), -1);
  EXPECT_NE(index_of(scr, "     2^ 2. *      3^1"), -1);
  EXPECT_NE(index_of(scr,
                     "The sum of the list(total numbers of composites and primes+1)=         "
                     "100"),
            -1);
  EXPECT_NE(index_of(scr, "    9          2 |   10          2 |   11          0 |   12          5"),
            -1);
  // The listing stops after 10 integers (20 lines), the ordered list at line 40.
  size_t stops = 0;
  for (const auto& l : scr) stops += l == testing::kStop;
  EXPECT_EQ(stops, 2u);
  EXPECT_TRUE(h.console.input.empty());
}

TEST(Vetto1Session, ZeroIsAskedAgainAndOneHasNoPrimes) {
  Harness h({"0", "", "1", "", "", "", "", "0", ""});
  ASSERT_TRUE(h.run([](Session& s) { vetto1(s); }));
  const auto log = h.log_lines();
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[0], "     Subdivision of divisors for N=");
  EXPECT_EQ(log[1], "            1.");
  EXPECT_EQ(log[2], table_lines({0, 1}, 1)[0]);
  EXPECT_EQ(log[3], "The sum of the list(total numbers of composites and primes+1         1");
  EXPECT_EQ(log[4], kLogRule);
  EXPECT_NE(index_of(h.screen_lines(), "there are           0 prime numbers"), -1);
}

TEST(Vetto1Session, DTwoZeroOneAndAboveTheVector) {
  {
    Harness h({"50", "", "", "", "", "2", ""});
    ASSERT_TRUE(h.run([](Session& s) { vetto1(s); }));
    const auto scr = h.screen_lines();
    EXPECT_NE(line_ending(scr, "this is only a list of primes"), std::string::npos);
    EXPECT_EQ(h.log_lines().end()[-2], kLogRule);
  }
  {
    // d above 2000: a slot holding 0, the closing at once.
    Harness h({"50", "", "", "", "", "5000", ""});
    ASSERT_TRUE(h.run([](Session& s) { vetto1(s); }));
    EXPECT_NE(line_ending(h.screen_lines(), "There are          0 numbers with "),
              std::string::npos);
    EXPECT_EQ(h.log_lines().end()[-2], kLogRule);
    EXPECT_TRUE(h.console.input.empty());
  }
  {
    // d = 1: slot 1 holds the integer 1, which is never generated: an empty
    // ordered list.
    Harness h({"50", "", "", "", "", "1", "", "", "", "", ""});
    ASSERT_TRUE(h.run([](Session& s) { vetto1(s); }));
    const auto log = h.log_lines();
    const int ordered = index_of(log, "           ORDERED LIST OF DIVISORS");
    ASSERT_NE(ordered, -1);
    EXPECT_EQ(log[ordered + 1], kLogRule);
    EXPECT_TRUE(h.console.input.empty());
  }
}

TEST(Vetto1Session, QuitAtAPagestopEndsWithTheRule) {
  Harness h({"100", "", "", "", "", "6", "", "", "q"});
  ASSERT_TRUE(h.run([](Session& s) { vetto1(s); }));
  const auto log = h.log_lines();
  EXPECT_EQ(log.end()[-2], kLogRule);
  EXPECT_EQ(log.end()[-3], "      2^ 2. *     19^1");  // the 10th integer, 76
  EXPECT_EQ(index_of(log, "           ORDERED LIST OF DIVISORS"), -1);
}

// More than 2000 integers with 4 divisors up to 100000: the warning and the
// question; Y goes back at once, anything else lists the first 2000.
TEST(Vetto1Session, MoreThan2000Integers) {
  // N, three pauses and one after the 18th of the 32 table lines, d.
  const std::vector<std::string> head = {"100000", "", "", "", "", "", "4", ""};
  {
    std::vector<std::string> in = head;
    in.insert(in.end(), {"y", ""});
    Harness h(in);
    ASSERT_TRUE(h.run([](Session& s) { vetto1(s); }));
    const auto scr = h.screen_lines();
    const int w = index_of(scr, "only 2000 numbers could be indicated and");
    ASSERT_NE(w, -1);
    EXPECT_EQ(scr[w + 1], "they they would not the first 2000 numbers with");
    EXPECT_EQ(scr[w + 2], "          4 divisors,but the first 2000 numbers");
    EXPECT_EQ(scr[w + 3], "with           4 divisors as generated by ");
    EXPECT_EQ(scr[w + 4], "the algorithm For a  list  with all the");
    EXPECT_EQ(scr[w + 5], "first numbers with           4 divisors run again ");
    // The answer is read right after the question, then the pause.
    EXPECT_EQ(scr[w + 6], "this option   and enter N smaller.Menu ?  Y/N" + kPause);
    const auto log = h.log_lines();
    EXPECT_NE(log.end()[-2], kLogRule);  // back without the rule
    EXPECT_EQ(log.end()[-2].substr(0, 19), "The sum of the list");
    EXPECT_TRUE(h.console.input.empty());
  }
  {
    std::vector<std::string> in = head;
    in.insert(in.end(), {"N", "", ""});                            // answer, pause, one more pause
    for (int i = 0; i < 200; ++i) in.insert(in.end(), {"x", ""});  // every 10 integers
    in.insert(in.end(), {"", ""});                                 // the pauses after the listing
    Harness h(in);
    ASSERT_TRUE(h.run([](Session& s) { vetto1(s); }));
    const auto log = h.log_lines();
    EXPECT_EQ(index_of(log, "           ORDERED LIST OF DIVISORS"), -1);
    EXPECT_EQ(log.end()[-2], kLogRule);
    // 2000 integers, two records each, the last numbered 2000.
    EXPECT_EQ(log.end()[-4].substr(0, 8), "    2000");
    EXPECT_TRUE(h.console.input.empty());
  }
}

// A table whose first eleven entries are all 2 (typed at the substitution)
// chains prefixes ten levels deep; their factor lines keep the pattern of
// the eight levels of a table of primes.
TEST(Vetto1Session, PrefixesDeeperThanEightLevels) {
  auto twos = std::make_unique<Tables>(built_tables());
  for (int32_t i = 2; i <= 11; ++i) substitute(*twos, i, 2);
  static DivisorVector v;
  count_divisor_vector(3000, *twos, v);
  int32_t maxd = 1;
  for (int32_t tau = 1; tau <= kVectorSlots; ++tau)
    if (v.slot[tau] != 0) maxd = tau;
  // 2^9 * 3 divisors: ten factors, the last squared.  Such a table gives
  // counts of its own (here a negative slot), which the listing follows.
  ASSERT_NE(v.slot[1536], 0);
  ASSERT_LE(v.slot[1536], 2000);
  struct Count final : RowSink {
    bool row(const ListedRow& r) override {
      deepest = std::max(deepest, r.L);
      ++n;
      return true;
    }
    int32_t deepest = 0, n = 0;
  } count;
  list_divisor_class(3000, 1536, *twos, 2000, count);
  EXPECT_EQ(count.deepest, 10);
  const int64_t rows = count.n;
  ASSERT_LE(rows, 100);

  std::vector<std::string> in = {"3000", "", "", ""};
  for (int32_t l = 18; l <= (maxd + 3) / 4; l += 18) in.push_back("");  // table pauses
  in.insert(in.end(), {"", "1536", "", ""});
  for (int64_t l = 20; l <= 3 * rows; l += 20) in.insert(in.end(), {"x", ""});
  in.insert(in.end(), {"", "", ""});
  Harness h(in);
  *h.tables = *twos;
  ASSERT_TRUE(h.run([](Session& s) { vetto1(s); }));
  EXPECT_TRUE(h.console.input.empty());
  std::string deep;
  for (int i = 1; i <= 9; ++i) deep += "      2^ 1.*";
  deep += "      2^ 2.";
  EXPECT_NE(index_of(h.log_lines(), deep), -1);
}

}  // namespace
}  // namespace ntb
