// The reverse method of gold and gold1: every pair of odd primes p <= q
// with p + q <= N stands for the number 2pq (gold) or pq (gold1), so the
// pairs are counted prime by prime as the primes q from p up to N - p.  The
// scan runs over the odd primes p while p * p stays within p1 * p2, the
// central primes of N; that takes in every odd prime up to N/2.
//
// Where the count of q ends: the procedure counts the primes up to the
// partner bound K / p (for gold K / 2 / p) and starts a downward walk at
// index kWalkStart when that count is larger, else at Phi(N), walking down
// while y(k) + p > N.  With the table as built both walks end at Phi(N - p),
// which is then read at once.  On an edited table the walk from a start S
// ends at the largest k <= S with y(k) <= N - p, whatever order y is in:
// WalkEnds finds it by a binary search over the minima of y(k..S), built in
// one pass over the table.  The two starts give the same end unless some
// entry between them is at most N - p; only then is the partner bound
// counted, to learn which start the procedure takes.
//
// A partner bound n above kTableExtent is counted by trova1, which reads
// y(1..5000) and the prime counts findp gives for numbers up to
// max(n / p, sqrt(n), n / kTableExtent), p the first entry it divides n by
// (the first prime above n / kTableExtent, or 11).  One pass over the
// edited table finds the least x at which findp differs from the table as
// built; while y(1..5000) are as built and those numbers stay below that x,
// trova1 counts exactly the primes up to n, which pass kWalkStart from prime
// number kWalkStart + 1 on: such bounds are compared with that prime instead
// of counted.
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "goldbach/engine/engines.hpp"
#include "numtheory/count/prime_count.hpp"
#include "numtheory/int_math.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/tables/findp_lookup.hpp"

namespace ntb {

namespace {

constexpr int32_t kWalkStart = kPrimesInExtent + 1;  // the first entry of y above kTableExtent
constexpr int32_t kTrova1Reads = 5000;  // trova1 reads y(1..) no further up to 2147483647

// The least x >= 0 at which findp on t differs from findp on the table as
// built, kTableExtent when none below it does; 0 when y(1..5000) are not as
// built.  findp is the same for all x strictly between two neighbouring
// values of a table, so x runs over 0 and v, v + 1 for the values v of
// either table, in rising order.
int32_t first_count_apart(const Tables& t) {
  const Tables& b = tables_as_built();
  if (!std::equal(t.y.begin() + 1, t.y.begin() + 1 + kTrova1Reads, b.y.begin() + 1)) return 0;
  std::vector<int32_t> written;  // values the edits put in, below kTableExtent
  for (int32_t k = 1; k <= kYSize; ++k)
    if (t.y[k] != b.y[k] && t.y[k] >= 0 && t.y[k] < kGoldbachTop) written.push_back(t.y[k]);
  std::sort(written.begin(), written.end());
  const auto findp = FindpLookup::of(t);
  int32_t pi = 0, last = -1;  // primes up to the last x looked at, as built
  auto apart = [&](int32_t x) {
    if (x <= last || x >= kGoldbachTop) return false;
    last = x;
    while (pi < kPrimesInExtent && b.y[pi + 1] <= x) ++pi;
    return (*findp)(x, t) != pi;
  };
  if (apart(0)) return 0;
  auto w = written.begin();
  for (int32_t i = 1; i <= kPrimesInExtent || w != written.end();) {
    int32_t v = kGoldbachTop;
    if (w != written.end() && (i > kPrimesInExtent || *w < b.y[i])) {
      v = *w++;
    } else {
      v = b.y[i++];
    }
    if (apart(v)) return v;
    if (apart(v + 1)) return v + 1;
  }
  return kGoldbachTop;
}

// True when every prime count trova1 takes for n lies below `apart`.
bool counted_as_built(int32_t n, int32_t apart) {
  const double Nd = n;
  const auto small = static_cast<int32_t>(Nd * kPerExtent);
  const Tables& b = tables_as_built();
  const int32_t k = findp_of(small, b);
  const double first = b.y[std::max(k, 4) + 1];
  const double top = std::max({Nd / first, std::sqrt(Nd), Nd * kPerExtent});
  return top < apart;
}

// The start of the downward walk for p, following the procedure: kWalkStart
// when more primes than that lie up to the partner bound, else Phi(N).
// apart: where findp on the table first differs from the table as built.
int32_t walk_start(int32_t p, double bound, int32_t primes_to_n, const Counts& c, int32_t apart) {
  const int32_t q2 = saturate32(bound / p);
  if (q2 > kGoldbachTop && counted_as_built(q2, apart)) {
    return q2 >= tables_as_built().y[kWalkStart + 1] ? kWalkStart : primes_to_n;
  }
  const int32_t below = q2 > kGoldbachTop ? trova1_of(q2, c.tables()) : c.primes_upto(q2);
  return below > kWalkStart ? kWalkStart : primes_to_n;
}

// Where the walks from the two possible starts end, for any content of y.
class WalkEnds {
 public:
  WalkEnds(const Counts& c, int32_t primes_to_n) : c_(c), primes_to_n_(primes_to_n) {
    lo_ = std::clamp(std::min(kWalkStart, primes_to_n), 0, kYSize);
    hi_ = std::clamp(std::max(kWalkStart, primes_to_n), 0, kYSize);
    suffix_min(lo_, low_);
    suffix_min(hi_, high_);
    between_ = INT64_MAX;
    for (int32_t k = lo_ + 1; k <= hi_; ++k) between_ = std::min<int64_t>(between_, c.y(k));
  }

  // Before the first partner bound is counted: where the prime counts of
  // the table part from those as built.
  void count_bounds_once() {
    if (apart_ < 0) apart_ = first_count_apart(c_.tables());
  }

  // The index where the procedure's walk for p ends.
  int32_t end(int32_t N, int32_t p, double bound) {
    const int64_t v = static_cast<int64_t>(N) - p;  // the walk stops at y(k) <= v
    if (v < between_) return end_from(low_, v);     // both starts end alike
    count_bounds_once();
    const int32_t start = walk_start(p, bound, primes_to_n_, c_, apart_);  // lo or hi
    return end_from(start == hi_ ? high_ : low_, v);
  }

 private:
  // m[k] = min(y(k..S)) for k = 1..S (m[0] unused): rising with k.
  void suffix_min(int32_t S, std::vector<int32_t>& m) const {
    m.assign(static_cast<size_t>(S) + 1, 0);
    int32_t run = INT32_MAX;
    for (int32_t k = S; k >= 1; --k) m[k] = run = std::min(run, c_.y(k));
  }
  // The largest k <= S with m[k] <= v, that is with y(k) <= v; 0 when none.
  static int32_t end_from(const std::vector<int32_t>& m, int64_t v) {
    const auto first_above =
        std::upper_bound(m.begin() + 1, m.end(), v, [](int64_t x, int32_t e) { return x < e; });
    return static_cast<int32_t>(first_above - m.begin()) - 1;
  }

  const Counts& c_;
  int32_t primes_to_n_;
  int32_t lo_ = 0, hi_ = 0;
  std::vector<int32_t> low_, high_;
  int64_t between_ = 0;  // the least entry of y(lo + 1 .. hi)
  int32_t apart_ = -1;   // first_count_apart, once a bound is counted
};

}  // namespace

CentralPrimes central_primes(ReverseForm form, int32_t N, const Counts& c) {
  CentralPrimes r;
  const int32_t h = c.primes_upto(N / 2);
  r.p1 = c.y(h);
  r.p2 = 2 * r.p1 == N ? r.p1 : c.y(h + 1);
  r.K = (form == ReverseForm::Twice ? 2.0 : 1.0) * r.p1 * r.p2;
  r.primes_to_n = c.primes_upto(N);
  return r;
}

double reverse_pair_scan(ReverseForm form, int32_t N, double K, const Counts& c,
                         const ReverseVisit* step) {
  // gold's fixed factor is the first entry of y: 2 while the table holds it.
  // A first entry above 2 skips the scan; so does one below 1, which would
  // divide by zero.
  const int32_t f = form == ReverseForm::Twice ? c.y(1) : 1;
  if (f > 2 || f < 1) return 0;
  const double bound = K / f;
  const double root = std::sqrt(K);
  const bool built = c.y_as_built();
  std::optional<WalkEnds> ends;
  if (!built) ends.emplace(c, c.primes_upto(N));
  double total = 0;
  ReverseStep s;
  for (int32_t j = 2; j <= kYSize; ++j) {
    interruption_point();
    const int32_t p = c.y(j);
    if (p < 1) break;  // an empty slot, not a prime
    if (form == ReverseForm::Plain && p > root) break;
    if (bound / p < p) break;
    const int32_t k = built ? c.primes_upto(N - p) : ends->end(N, p, bound);
    s.j = j;
    s.p = p;
    s.k = k;
    s.count = static_cast<double>(k) - j + 1;
    if (s.count > 0) total += s.count;
    s.total = total;
    if (step && !(*step)(s)) break;
    if (s.count <= 0) break;
  }
  return total;
}

}  // namespace ntb
