// The inclusion-exclusion totals from the parity-split sums E and O.
//
// The entries e(1..m) are the nonzero entries of y up to sqrt(N), in
// rising order (0s divide nothing and are left out).  In rising order the
// walk makes exactly the sets whose product is at most N, so a term with
// quotient x and entries e(1..a) still open has below it every subset of
// e(1..a) with product at most x.  Three shortcuts make the sums cheap:
//
// - The first K entries (K <= 6): whether a product of them divides n
//   depends only on n modulo their product M, so the sums over their
//   subsets are a whole number of periods plus a prefix, read from tables.
// - A child e(j) with e(j)^2 > x has quotient z = x div e(j) < e(j), so
//   every open entry up to z may follow: its sums are F(z), the sums over
//   all subsets of the entries up to z, for z up to sqrt(N).  F comes from
//   one sieve: the number of subsets with product exactly m, then their
//   multiples.
// - Children of that kind with equal quotients are taken together, the
//   number of them read from the count of entries up to x div z.
//
// Once 2, 3, 5 and 7 are out, a term of level up to 7 counts only its
// multiples free of 2, 3, 5 and 7: f(q), the numbers in 1..q prime to 210.
// The sums then carry a fourth value, the signed sum with f at the depths
// that are still reduced, and F one such value per depth.
#include "methods/engine/inclusion_totals.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "numtheory/count/free_of_2357.hpp"
#include "numtheory/int_math.hpp"

namespace ntb {

namespace {

constexpr int kLevels = 11;   // the walk goes no deeper
constexpr int kReduced = 7;   // terms of levels 1..7 are reduced
constexpr int kPeriodic = 6;  // entries summed through their period
constexpr int64_t kPeriodTop = 1 << 20;

// The divisors d > 1 of 210 with the Moebius function mu(d).
constexpr std::pair<int, int> kMobius210[] = {{2, -1},  {3, -1},  {5, -1},  {7, -1},   {6, 1},
                                              {10, 1},  {14, 1},  {15, 1},  {21, 1},   {35, 1},
                                              {30, -1}, {42, -1}, {70, -1}, {105, -1}, {210, 1}};
// Up to this many subsets under a quotient, f is taken subset by subset.
constexpr int64_t kFewSubsets = 12;

// Sums over a term and the terms below it.  even/odd: the raw quotients at
// even and odd depth below the term (the term itself at depth 0); count:
// the terms; reduced: the signed sum, + at even depth, with f(q) in place
// of q down to the depth still reduced (kept only when reducing).
struct Sums {
  int64_t even = 0, odd = 0, count = 0, reduced = 0;
  // A child (one depth further) taken `times` times.
  void add_child(const Sums& c, int64_t times = 1) {
    even += times * c.odd;
    odd += times * c.even;
    count += times * c.count;
    reduced -= times * c.reduced;
  }
};

// One subset of the first entries: its product and its size.
struct Subset {
  int64_t product;
  int size;
};

class Totals {
 public:
  // e: the entries in the order of y, all positive; top: sqrt(N).
  Totals(std::vector<int32_t> e, int32_t top, bool reduce) : e_(std::move(e)), reduce_(reduce) {
    m_ = static_cast<int32_t>(e_.size()) - 1;
    rise_.assign(e_.size(), 0);
    for (int32_t j = 1; j <= m_; ++j) {
      rise_[j] = std::max(rise_[j - 1], e_[j]);
      if (e_[j] < rise_[j - 1]) out_of_order_.push_back(j);
    }
    build_periods();
    build_upto(top);
    if (out_of_order_.empty()) {
      build_f(top);
    } else {
      for (auto& slot : memo_) slot.known.assign(static_cast<size_t>(top) + 1, 0);
    }
  }

  // Where the walk's loop over e(1..) stops for a quotient x: the number of
  // entries before the first one above x.
  int32_t upto(int64_t x) const {
    if (x < static_cast<int64_t>(upto_.size())) return upto_[x];
    return static_cast<int32_t>(std::upper_bound(rise_.begin() + 1, rise_.end(), x) -
                                rise_.begin()) -
           1;
  }

  // A term with quotient x, entries e(1..a) open, reduced down to depth r
  // (none when r < 0).  In rising order every open entry is at most x.
  Sums below(int64_t x, int32_t a, int r) const {
    if (!out_of_order_.empty()) a = std::min(a, upto(x));
    if (a <= k_) return periodic(x, a, r);
    Sums s = periodic(x, k_, r);
    int32_t j = k_ + 1;
    for (; j <= a; ++j) {
      const int64_t p = e_[j];
      if (p * p > x) break;
      s.add_child(below(x / p, j - 1, r - 1));
    }
    if (j <= a) full_children(x, j, a, r - 1, s);
    return s;
  }

 private:
  // Children e(lo..hi) of a term with quotient x, from the first with
  // e^2 > x; an entry out of order among them may still have e^2 <= x.
  void full_children(int64_t x, int32_t lo, int32_t hi, int r, Sums& s) const {
    auto t = std::lower_bound(out_of_order_.begin(), out_of_order_.end(), lo);
    for (; t != out_of_order_.end() && *t <= hi; ++t) {
      if (lo < *t) run_children(x, lo, *t - 1, r, s);
      const int64_t p = e_[*t];
      s.add_child(p * p > x ? full(x / p, r) : below(x / p, *t - 1, r));
      lo = *t + 1;
    }
    if (lo <= hi) run_children(x, lo, hi, r, s);
  }

  // Children e(lo..hi) in rising order, each with e^2 > x: equal quotients
  // taken together when that saves steps.
  void run_children(int64_t x, int32_t lo, int32_t hi, int r, Sums& s) const {
    const int64_t qhi = x / e_[lo], qlo = x / e_[hi];
    if (hi - lo < 2 * (qhi - qlo)) {
      for (int32_t j = lo; j <= hi; ++j) s.add_child(full(x / e_[j], r));
      return;
    }
    int32_t done = lo - 1;
    for (int64_t q = qhi; q >= qlo; --q) {
      const int64_t top = x / q;  // entries up to here have quotient >= q
      const int32_t last = top >= e_[hi] ? hi : upto(top);
      if (last > done) s.add_child(full(q, r), last - done);
      done = last;
    }
  }

  // F(z): a term with quotient z below which every entry before the first
  // one above z is open.
  Sums full(int64_t z, int r) const {
    if (!out_of_order_.empty()) {
      Memo& m = memo_[reduce_ && r >= 0 ? std::min(r, kReduced - 1) + 1 : 0];
      if (m.sums.empty()) m.sums.resize(m.known.size());
      if (!m.known[z]) {
        m.sums[z] = below(z, m_, r);
        m.known[z] = 1;
      }
      return m.sums[z];
    }
    Sums s{fe_[z], fo_[z], fc_[z], 0};
    if (reduce_) s.reduced = r < 0 ? s.even - s.odd : fr_[std::min(r, kReduced - 1)][z];
    return s;
  }

  // The subsets of e(1..a), a <= k, through the period tables.
  Sums periodic(int64_t x, int32_t a, int r) const {
    const Period& pd = periods_[a];
    const int64_t whole = x / pd.M, rest = x % pd.M;
    const int64_t all = whole * pd.all[pd.M] + pd.all[rest];
    const int64_t sign = whole * pd.sign[pd.M] + pd.sign[rest];
    Sums s;
    s.even = (all + sign) / 2;
    s.odd = (all - sign) / 2;
    s.count = x >= pd.M ? static_cast<int64_t>(pd.subsets.size()) : pd.count[x];
    if (reduce_) {
      if (r < 0) {
        s.reduced = s.even - s.odd;
      } else if (s.count > kFewSubsets) {
        // f(q) = sum of mu(d) * (q div d) over the divisors d of 210.
        const auto& upto = r < a ? pd.sign_upto[r] : pd.sign;
        s.reduced = sign;
        for (const auto& [d, mu] : kMobius210) {
          const int64_t y = x / d;
          s.reduced += mu * ((y / pd.M) * upto[pd.M] + upto[y % pd.M]);
        }
      } else {
        for (const Subset& u : pd.subsets) {
          if (u.product > x) break;
          const int64_t q = x / u.product;
          const int64_t g = u.size <= r ? free_of_2357(static_cast<int32_t>(q)) : q;
          s.reduced += (u.size & 1) ? -g : g;
        }
      }
    }
    return s;
  }

  // Over one period M of the first a entries: prefix sums of the number of
  // subsets whose product divides n (all) and of their signs (sign), and the
  // number of subsets with product up to n (count).
  struct Period {
    int64_t M = 1;
    std::vector<int32_t> all, sign, count;
    std::vector<std::vector<int32_t>> sign_upto;  // [r]: sign over the subsets of size <= r
    std::vector<Subset> subsets;                  // by rising product
  };

  void build_periods() {
    k_ = 0;
    int64_t M = 1;
    const int32_t in_order = out_of_order_.empty() ? m_ : out_of_order_.front() - 1;
    while (k_ < kPeriodic && k_ < in_order && M * e_[k_ + 1] <= kPeriodTop) M *= e_[++k_];
    periods_.resize(static_cast<size_t>(k_) + 1);
    std::vector<Subset> subsets{{1, 0}};
    for (int32_t a = 0; a <= k_; ++a) {
      if (a > 0) {
        const size_t n = subsets.size();
        for (size_t i = 0; i < n; ++i)
          subsets.push_back({subsets[i].product * e_[a], subsets[i].size + 1});
      }
      Period& pd = periods_[a];
      pd.M = a == 0 ? 1 : periods_[a - 1].M * e_[a];
      pd.subsets = subsets;
      std::stable_sort(pd.subsets.begin(), pd.subsets.end(),
                       [](const Subset& l, const Subset& r) { return l.product < r.product; });
      const size_t len = static_cast<size_t>(pd.M) + 1;
      pd.all.assign(len, 0);
      pd.sign.assign(len, 0);
      pd.count.assign(len, 0);
      if (reduce_) pd.sign_upto.assign(static_cast<size_t>(a), std::vector<int32_t>(len, 0));
      for (const Subset& u : pd.subsets) {
        ++pd.count[u.product];
        const int32_t sg = (u.size & 1) ? -1 : 1;
        for (int64_t n = u.product; n <= pd.M; n += u.product) {
          ++pd.all[n];
          pd.sign[n] += sg;
          for (int r = u.size; r < static_cast<int>(pd.sign_upto.size()); ++r)
            pd.sign_upto[r][n] += sg;
        }
      }
      for (size_t n = 1; n < len; ++n) {
        pd.all[n] += pd.all[n - 1];
        pd.sign[n] += pd.sign[n - 1];
        pd.count[n] += pd.count[n - 1];
        for (auto& upto : pd.sign_upto) upto[n] += upto[n - 1];
      }
    }
  }

  void build_upto(int32_t top) {
    upto_.assign(static_cast<size_t>(top) + 1, 0);
    for (int32_t x = 1, i = 0; x <= top; ++x) {
      while (i < m_ && rise_[i + 1] <= x) ++i;
      upto_[x] = i;
    }
  }

  // F(z) for z = 0..top with the entries in rising order: the sums over
  // every subset of the entries up to z.
  void build_f(int32_t top) {
    const size_t len = static_cast<size_t>(top) + 1;
    // Subsets with product exactly n: all of them, by sign, by size.
    std::vector<int64_t> w(len, 0), ws(len, 0);
    std::vector<std::vector<int64_t>> wd;
    w[1] = ws[1] = 1;
    if (reduce_) {
      wd.assign(kReduced, std::vector<int64_t>(len, 0));
      wd[0][1] = 1;
    }
    for (int32_t j = 1; j <= m_ && e_[j] <= top; ++j) {
      const int32_t p = e_[j];
      for (int32_t n = top / p; n >= 1; --n) {
        w[n * p] += w[n];
        ws[n * p] -= ws[n];
        for (int d = kReduced - 1; d >= 1 && reduce_; --d) wd[d][n * p] += wd[d - 1][n];
      }
    }
    // Per n: the subsets whose product divides n, and for each size the
    // change from q to f(q) of those whose cofactor is not prime to 210.
    std::vector<int64_t> u(len, 0), us(len, 0);
    std::vector<std::vector<int64_t>> delta(reduce_ ? kReduced : 0, std::vector<int64_t>(len, 0));
    for (int32_t d = 1; d <= top; ++d) {
      if (w[d] == 0 && ws[d] == 0) continue;
      for (int32_t n = d; n <= top; n += d) {
        u[n] += w[d];
        us[n] += ws[d];
      }
      for (int s = 0; s < static_cast<int>(delta.size()); ++s) {
        if (wd[s][d] == 0) continue;
        for (int32_t c = 1, n = d; n <= top; ++c, n += d)
          if (c % 2 == 0 || c % 3 == 0 || c % 5 == 0 || c % 7 == 0) delta[s][n] -= wd[s][d];
      }
    }
    fe_.assign(len, 0);
    fo_.assign(len, 0);
    fc_.assign(len, 0);
    if (reduce_) fr_.assign(kReduced, std::vector<int64_t>(len, 0));
    int64_t su = 0, ss = 0, sc = 0;
    std::vector<int64_t> sd(delta.size(), 0);
    for (size_t z = 1; z < len; ++z) {
      su += u[z];
      ss += us[z];
      sc += w[z];
      fe_[z] = (su + ss) / 2;
      fo_[z] = (su - ss) / 2;
      fc_[z] = sc;
      if (!reduce_) continue;
      int64_t r = ss;
      for (int s = 0; s < kReduced; ++s) {
        sd[s] += delta[s][z];
        r += (s & 1) ? -sd[s] : sd[s];
        fr_[s][z] = r;
      }
    }
  }

  std::vector<int32_t> e_;             // 1-based, e_[0] unused
  std::vector<int32_t> rise_;          // rise_[j] = max of e(1..j)
  std::vector<int32_t> out_of_order_;  // the j with e(j) below an entry before it
  int32_t m_ = 0;
  bool reduce_;
  int32_t k_ = 0;
  std::vector<Period> periods_;
  std::vector<int32_t> upto_;
  std::vector<int64_t> fe_, fo_, fc_;
  std::vector<std::vector<int64_t>> fr_;  // [r][z], reduced down to depth r
  // Out of order, F(z) as asked for: [0] unreduced, [r + 1] reduced to depth r.
  struct Memo {
    std::vector<Sums> sums;
    std::vector<uint8_t> known;
  };
  mutable std::array<Memo, kReduced + 1> memo_;
};

}  // namespace

std::optional<InclusionResult> inclusion_totals(double N, const Tables& t, bool reduce2357,
                                                InclusionVisitor& v) {
  InclusionResult res;
  res.root = static_cast<int32_t>(std::sqrt(N));
  int32_t x = res.root;
  res.z11 = findp(x, t);

  // The entries a set may take: y(1..z11 - 1), the 0s left out.  nonzero[p]
  // counts them up to y(p - 1).
  const int32_t last = std::clamp(res.z11 - 1, 0, kYSize);
  std::vector<int32_t> e{0};
  std::vector<int32_t> nonzero(static_cast<size_t>(last) + 2, 0);
  for (int32_t p = 1; p <= last; ++p) {
    const int32_t y = t.y[p];
    if (y < 0) return std::nullopt;
    if (y != 0) e.push_back(y);
    nonzero[p + 1] = static_cast<int32_t>(e.size()) - 1;
  }
  // A set of more than kLevels entries within N would be cut by the walk.
  if (e.size() > kLevels + 1) {
    std::vector<int32_t> least(e.begin() + 1, e.end());
    std::partial_sort(least.begin(), least.begin() + kLevels + 1, least.end());
    double product = 1;
    for (int i = 0; i <= kLevels; ++i) product *= least[i];
    if (product <= N) return std::nullopt;
  }

  const Totals totals(std::move(e), std::max(res.root, 1), reduce2357);
  const auto n = static_cast<int64_t>(N);
  int64_t sr1 = 0, terms = 0;
  walk_sets(t, res, v, [&](int32_t p, int32_t prime) {
    const int64_t q = n / prime;
    const int32_t open = std::min(nonzero[p], totals.upto(q));
    const Sums s = totals.below(q, open, kReduced - 1);
    res.positive += s.even;
    res.negative += s.odd;
    terms += s.count;
    sr1 += reduce2357 ? s.reduced : s.even - s.odd;
    return true;
  });
  res.terms = saturate32(terms);
  res.sr1 = static_cast<double>(sr1);
  res.completed = true;
  return res;
}

}  // namespace ntb
