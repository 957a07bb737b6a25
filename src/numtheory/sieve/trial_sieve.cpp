// The window sieve of the trial division by y.
#include "numtheory/sieve/trial_sieve.hpp"

#include <algorithm>
#include <cstring>

#include "numtheory/tables/findp_lookup.hpp"
#include "numtheory/int_math.hpp"
#include "numtheory/tables/pi_lookup.hpp"

namespace ntb {

namespace {

// Small values laid down by repeating patterns instead of marked one
// multiple at a time: the first group is copied, the others are or-ed in.
constexpr int32_t kGroups = 4;
constexpr int32_t kLaid[kGroups][5] = {
    {3, 5, 7, 11, 13}, {17, 19, 23, 0, 0}, {29, 31, 37, 0, 0}, {41, 43, 47, 0, 0}};
constexpr int32_t kLaidTop = 47;
// Entries below this mark a first-level-cache block at a time.
constexpr int32_t kSmallEntry = 2048;

// Marks lo + 2i for the odd multiples m of p in [from, to] (from, to within
// the window).
inline void mark_between(uint8_t* f, int64_t lo, int64_t p, int64_t from, int64_t to) {
  int64_t m = (from + p - 1) / p * p;
  if (m % 2 == 0) m += p;
  for (int64_t i = (m - lo) / 2, end = (to - lo) / 2; i <= end; i += p) f[i] = 1;
}

// Marks the slots j, j + p, ... below end; returns the first one not marked.
// Held in locals: a store through a byte pointer could otherwise alias them.
inline int64_t mark_from(uint8_t* f, int64_t j, const int64_t p, const int64_t end) {
  for (; j + 3 * p < end; j += 4 * p) {
    f[j] = 1;
    f[j + p] = 1;
    f[j + 2 * p] = 1;
    f[j + 3 * p] = 1;
  }
  for (; j < end; j += p) f[j] = 1;
  return j;
}

}  // namespace

TrialSieve::TrialSieve()
    : next_(kYSize + 1, -1), composite_(kOdds + 8, 1), passing_(kOdds / 64, 0) {}
TrialSieve::~TrialSieve() = default;

void TrialSieve::prepare(const Tables& t) {
  stamp_ = t.version;
  pristine_ = t.y_pristine;
  findp_ = pristine_ ? nullptr : FindpLookup::of(t);
  for (auto& g : first_small_) g.fill(kYSize + 1);
  for (int32_t i = kYSize; i >= 1; --i)
    if (t.y[i] >= 3 && t.y[i] <= kLaidTop)
      for (int32_t g = 0; g < kGroups; ++g)
        for (int32_t k = 0; k < 5; ++k)
          if (t.y[i] == kLaid[g][k]) first_small_[g][k] = i;
  std::fill(next_.begin(), next_.end(), -1);
}

int32_t TrialSieve::n_of(int32_t s, const Tables& t) const {
  return pristine_ ? PiLookup::of(t)(s, t) : (*findp_)(s, t);
}

// Byte j: 2j + 1 is a multiple of one of the values of group g in the mask.
const std::vector<uint8_t>& TrialSieve::pattern(int32_t g, int32_t mask) {
  std::vector<uint8_t>& p = patterns_[g][mask];
  if (p.empty()) {
    int32_t period = 1;
    for (int32_t k = 0; k < 5; ++k)
      if (mask >> k & 1) period *= kLaid[g][k];
    p.assign(period, 0);
    for (int32_t k = 0; k < 5; ++k)
      if (mask >> k & 1)
        for (int32_t j = kLaid[g][k] / 2; j < period; j += kLaid[g][k]) p[j] = 1;
  }
  return p;
}

void TrialSieve::sieve(int64_t lo, const Tables& t) {
  if (t.version != stamp_ || t.y_pristine != pristine_ || lo_ < 0) prepare(t);
  // The remembered multiples hold for windows that come in ascending order.
  if (lo < lo_) std::fill(next_.begin(), next_.end(), -1);
  lo_ = lo;
  const int64_t hi = std::min(lo + 2 * int64_t{kOdds} - 2, kTop);
  const int32_t count = static_cast<int32_t>((hi - lo) / 2 + 1);
  uint8_t* f = composite_.data();

  const int32_t s_lo = isqrt(lo), s_hi = isqrt(hi);
  n_.resize(s_hi - s_lo + 1);
  int32_t nmin = INT32_MAX, nmax = 0;
  for (int32_t s = s_lo; s <= s_hi; ++s) {
    const int32_t n = n_of(s, t);
    n_[s - s_lo] = n;
    nmin = std::min(nmin, n);
    nmax = std::max(nmax, n);
  }
  nmin = std::max(nmin, 0);

  // The small values tested for every number of the window, by pattern.
  int32_t mask[kGroups] = {};
  for (int32_t g = 0; g < kGroups; ++g)
    for (int32_t k = 0; k < 5; ++k)
      if (first_small_[g][k] <= nmin) mask[g] |= 1 << k;
  if (mask[0] == 0) std::memset(f, 0, count);
  for (int32_t g = 0; g < kGroups; ++g) {
    if (mask[g] == 0) continue;
    const std::vector<uint8_t>& pat = pattern(g, mask[g]);
    const int32_t period = static_cast<int32_t>(pat.size());
    for (int32_t j = 0, off = static_cast<int32_t>(((lo - 1) / 2) % period); j < count;) {
      const int32_t n = std::min(period - off, count - j);
      const uint8_t* from = pat.data() + off;
      if (g == 0) {
        std::memcpy(f + j, from, n);
      } else {
        uint8_t* to = f + j;
        for (int32_t k = 0; k < n; ++k) to[k] |= from[k];
      }
      j += n;
      off = 0;
    }
  }
  std::memset(f + count, 1, kOdds + 8 - count);  // past 2147483647

  auto laid_down = [&](int32_t p) {
    for (int32_t g = 0; g < kGroups; ++g)
      for (int32_t k = 0; k < 5; ++k)
        if (p == kLaid[g][k]) return (mask[g] >> k & 1) != 0;
    return false;
  };
  // Entries tested for the whole window: their multiples carry over from
  // one window to the next.  The small ones mark a block that stays in the
  // first-level cache at a time, the large ones the whole window.
  small_.clear();
  large_.clear();
  for (int32_t i = 1; i <= nmin; ++i) {
    const int32_t p = t.y[i];
    if (p < 3 || p % 2 == 0 || (p <= kLaidTop && laid_down(p))) continue;
    int64_t m = next_[i];
    if (m < lo) {
      m = (lo + p - 1) / p * p;
      if (m % 2 == 0) m += p;
    }
    (p < kSmallEntry ? small_ : large_).push_back({p, (m - lo) / 2, i});
  }
  for (int32_t b = kBlock; b < count + kBlock; b += kBlock) {
    const int64_t end = std::min(b, count);
    for (Multiple& e : small_) e.slot = mark_from(f, e.slot, e.p, end);
  }
  for (Multiple& e : large_) e.slot = mark_from(f, e.slot, e.p, count);
  for (const Multiple& e : small_) next_[e.index] = lo + 2 * e.slot;
  for (const Multiple& e : large_) next_[e.index] = lo + 2 * e.slot;
  // Entries tested only where n reaches them: the stretches of s.
  for (int32_t i = nmin + 1; i <= nmax; ++i) {
    const int32_t p = t.y[i];
    if (p < 3 || p % 2 == 0 || (p <= kLaidTop && laid_down(p))) continue;
    for (int32_t s = s_lo; s <= s_hi;) {
      if (n_[s - s_lo] < i) {
        ++s;
        continue;
      }
      int32_t e = s;
      while (e < s_hi && n_[e + 1 - s_lo] >= i) ++e;
      const int64_t from = std::max(lo, int64_t{s} * s);
      const int64_t to = std::min(hi, (int64_t{e} + 1) * (e + 1) - 1);
      if (from <= to) mark_between(f, lo, p, from, to);
      s = e + 1;
    }
  }

  // One bit per number for the walk over the passing ones: eight flags of
  // 0 or 1 gather into one byte by a multiplication.
  for (int32_t w = 0; w < kOdds / 64; ++w) {
    uint64_t bits = 0;
    for (int32_t k = 0; k < 8; ++k) {
      uint64_t b;
      std::memcpy(&b, f + 64 * w + 8 * k, 8);
      bits |= ((b * 0x0102040810204080ULL) >> 56) << (8 * k);
    }
    passing_[w] = ~bits;
  }
}

}  // namespace ntb
