// The computing side of the Goldbach submenu: cumulative pair totals, the
// counts and listings of one even number, the searches for equal pair
// counts and the reverse-method scan.  Nothing here talks to the user; the
// commands turn the results (or the rows passed to a visitor) into records.
//
// Pairs are unordered pairs {a, b} of odd numbers, a, b >= 3, of three
// kinds: both prime, one prime and one composite (mixed), both composite.
// A cumulative total T(n) counts the pairs of a kind with sum at most n, so
// T(N) - T(N - 2) is the number of pairs with sum exactly N.  Primes and
// composites are what the tables hold (Counts), so every total follows an
// edited table the way the table search does.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "goldbach/engine/counts.hpp"

namespace ntb {

// ---- Pairs of primes: the two passes of Goldbach1 (prime_pair_total.cpp)

// One pass at n: B = Phi(n/2) - 1 odd primes up to n/2 give column 2, the
// pairs within the first half; column 4 scans the primes p in (n/2, n] and
// adds the odd primes up to n - p; column 5 = column 2 + column 4 = T(n).
struct PrimePairTotal {
  double col2 = 0, col3 = 0, col4 = 0, col5 = 0;
};
// detail(p, n - p, Phi(n - p) - 1, scan so far) for every counted prime.
using ScanDetail = std::function<void(int32_t, int32_t, int32_t, double)>;
PrimePairTotal prime_pair_total(int32_t n, const Counts& c, const ScanDetail* detail = nullptr);

// ---- The counts of one even N from the two passes (odd_pair_counts.cpp)

struct OddPairCounts {
  int32_t P = 0;     // pairs of primes, T(N) - T(N - 2)
  int32_t Q = 0;     // odd primes up to N - 3
  int32_t flag = 0;  // 1 when N/2 is prime
  int32_t M = 0;     // mixed pairs, Q - 2P + flag
  double T = 0;      // all pairs of odd numbers >= 3 with sum N
  double C = 0;      // pairs of composites, T - P - M
};
OddPairCounts odd_pair_counts(int32_t N, double col5_N, double col5_N2, const Counts& c);

// ---- Listings of one even N (pair_listings.cpp)

// A row visitor returns false to stop the listing (a quit at the pager).
using PairRow = std::function<bool(int32_t running, int32_t larger, int32_t smaller)>;

// The pairs of primes: for each odd prime p <= N/2 with N - p prime, the
// row (running number, N - p, p).  False when the visitor stopped it.
bool prime_pair_listing(int32_t N, const Counts& c, const PairRow& row);

// The larger members of the composite pairs, recorded by the mixed listing
// while it walks the mixed partners down: the odd non-primes strictly
// between two successive partners above N/2, then those left between the
// last partner and N/2.  The capacity is the largest number of values that
// any even N from 6 to kGoldbachTop records with the tables as built (at
// N = 1995630; the buffer-capacity test finds it); writes
// past it are dropped all the same.
struct CompositeBuffer {
  static constexpr int32_t kCapacity = 378048;
  std::array<int32_t, kCapacity + 1> v{};  // 1-based
  int32_t fill = 0;                        // values held
  int32_t recorded = 0;                    // values the listing produced
  void clear() {
    v.fill(0);
    fill = 0;
    recorded = 0;
  }
  void push(int32_t x) {
    ++recorded;
    if (fill < kCapacity) v[++fill] = x;
  }
};

// The mixed pairs: for each odd prime p <= N - 3 (the prime N - 1 is left
// out) with N - p not prime, the row (running number, N - p, p); fills the
// buffer (cleared first).  False when the visitor stopped it.
bool mixed_pair_listing(int32_t N, const Counts& c, CompositeBuffer& buf, const PairRow* row);

// ---- Mixed pairs (mixed_pair_total.cpp)

// T(n) by scanning every composite c <= n: the odd primes up to n - c.
double mixed_total_scan(int32_t n, const Counts& c);
// The same total from the prime side: every odd prime p <= n with the
// composites up to n - p.  Equal to the scan while both tables are as
// built (a third of the steps); an edited table is scanned as above.
double mixed_total_by_primes(int32_t n, const Counts& c);

// T(n) in three parts: the combinations of the primes and composites up to
// n/2, then the composites above n/2 with the primes up to n - c, then the
// primes above n/2 with the composites up to n - p.
// A row visitor gets (index in the table, the composite or prime, n - it,
// Phi(n - c) - 1 or Psi(n - p), running count); the composite side stops
// when it returns false (the prime side has no pager).
using HalfRow = std::function<bool(int32_t, int32_t, int32_t, int32_t, double)>;
double mixed_first_half(int32_t n, const Counts& c);
struct SideCount {
  double count = 0;
  bool stopped = false;
};
SideCount mixed_composite_side(int32_t n, const Counts& c, const HalfRow* row = nullptr);
SideCount mixed_prime_side(int32_t n, const Counts& c, const HalfRow* row = nullptr);
struct MixedHalves {
  double comb = 0, comp_side = 0, prime_side = 0;
  double total() const { return comb + comp_side + prime_side; }
};
MixedHalves mixed_halves(int32_t n, const Counts& c);

// ---- Pairs of composites (composite_pair_total.cpp)

// T(n): the pairs of composites up to n/2, b = Psi(n/2), (b*b + b)/2, plus
// the composites c above n/2 with the composites up to n - c.
struct CompositePairTotal {
  double comb = 0, scan = 0;
  double total() const { return comb + scan; }
};
CompositePairTotal composite_pair_total(int32_t n, const Counts& c);

// ---- Even numbers with a given pair count (equal_count_search.cpp)

enum class PairKind { Primes, Composites, Mixed };

// T(n) of a kind, cut to 32 bits as the search keeps it.
int32_t search_total(PairKind kind, int32_t n, const Counts& c);

// Walks n over 6000 even numbers from 6 (from 4 for pairs of primes with
// K = 1), keeps the last two totals and calls found(found counter, n) for
// every n whose pair count is K.  Returns the found counter, or -1 when the
// visitor stopped the walk.
using FoundRow = std::function<bool(int32_t, int32_t)>;
int32_t equal_count_search(PairKind kind, int32_t K, const Counts& c, const FoundRow& found);

// ---- The reverse method of gold and gold1 (reverse_pair_scan.cpp)

enum class ReverseForm { Twice, Plain };  // gold: 2pq and 2p^2; gold1: pq and p^2

struct CentralPrimes {
  double p1 = 0, p2 = 0, K = 0, primes_to_n = 0;
};
CentralPrimes central_primes(ReverseForm form, int32_t N, const Counts& c);

// One scanned prime p = y(j): the primes q = y(j..k) with p <= q <= N - p.
struct ReverseStep {
  int32_t j = 0, p = 0, k = 0;
  double count = 0;  // k - j + 1
  double total = 0;  // the running total, this count included
};
// Calls step() for every scanned prime, the last one included when its
// count is 0 (the scan ends there).  step returns false to stop.  Returns
// the sum of the counts, the number of pairs of odd primes with sum <= N.
using ReverseVisit = std::function<bool(const ReverseStep&)>;
double reverse_pair_scan(ReverseForm form, int32_t N, double K, const Counts& c,
                         const ReverseVisit* step = nullptr);

}  // namespace ntb
