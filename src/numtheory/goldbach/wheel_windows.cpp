// The windows of wheel_windows.hpp: patterns, restored small primes, the
// strided loops of the carried primes and the placing of the others.
//
// A pattern holds, for one period of bytes (the product of its primes),
// the bits of the numbers free of its primes.  Downwards the bytes are read
// in reverse order: a second copy holds them reversed.  Both are one period
// plus kTail bytes long, so that a stretch of kTail bytes from any phase
// below the period is read straight through.
//
// A multiple p m of a sieving prime is placed by its distance d from the
// window's edge (p m - 30 first upwards, 30 first + 29 - p m downwards,
// where `first` is the window's absolute byte): it lies in the window byte
// d / 30.  Writing `first` as p a + b keeps every step within 64 bits, even
// for numbers near 2^64: the multiplier nearest the edge is 30 a plus a
// small quotient of 30 b, and d is below 31 p.
#include "numtheory/goldbach/wheel_windows.hpp"

#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace ntb {

namespace {

constexpr uint32_t kTail = 4096;
constexpr uint32_t kBlock = 32768;  // bytes the small primes sieve at a time

struct Pattern {
  uint32_t period = 1;
  std::vector<uint8_t> up, down;

  Pattern(std::initializer_list<uint32_t> primes) {  // NOLINT: listed in braces below
    for (const uint32_t q : primes) period *= q;
    up.resize(period + kTail);
    down.resize(period + kTail);
    for (uint32_t k = 0; k < period; ++k)
      for (int i = 0; i < 8; ++i) {
        const uint32_t n = 30 * k + static_cast<uint32_t>(kWheel30[i]);
        if (std::all_of(primes.begin(), primes.end(), [n](uint32_t q) { return n % q != 0; }))
          up[k] |= static_cast<uint8_t>(1 << i);
      }
    for (uint32_t k = 0; k < period; ++k) down[k] = up[period - 1 - k];
    for (uint32_t k = period; k < period + kTail; ++k) {
      up[k] = up[k % period];
      down[k] = down[k % period];
    }
  }
};

const std::vector<Pattern>& patterns() {
  static const std::vector<Pattern> p = {
      {7, 11, 13}, {17, 19, 23}, {29, 31},   {37, 41},   {43, 47},   {53, 59},
      {61, 67},    {71, 73},     {79, 83},   {89, 97},   {101, 103}, {107, 109},
      {113, 127},  {131, 137},   {139, 149}, {151, 157}, {163}};
  return p;
}

constexpr std::array<uint32_t, 35> kPatternPrimes = {
    7,  11, 13, 17, 19,  23,  29,  31,  37,  41,  43,  47,  53,  59,  61,  67,  71, 73,
    79, 83, 89, 97, 101, 103, 107, 109, 113, 127, 131, 137, 139, 149, 151, 157, 163};
static_assert(kPatternPrimes.back() == kPatternTop);

// The bit that p m takes when p and m have the residues kWheel30[i] and
// kWheel30[j]; as a mask that keeps the other bits.
constexpr std::array<std::array<uint8_t, 8>, 8> kKeep = [] {
  std::array<std::array<uint8_t, 8>, 8> k{};
  for (size_t i = 0; i < 8; ++i)
    for (size_t j = 0; j < 8; ++j)
      k[i][j] = static_cast<uint8_t>(
          ~(1u << kWheelBit[static_cast<size_t>(kWheel30[i] * kWheel30[j] % 30)]));
  return k;
}();

// From a residue r mod 30: how far up (down) the next (previous) residue
// prime to 30 is, r itself when it is; and from such a residue, how far to
// the one after (before) it.
constexpr std::array<uint8_t, 30> kUpTo = [] {
  std::array<uint8_t, 30> g{};
  for (int r = 0; r < 30; ++r)
    while (kWheelBit[static_cast<size_t>((r + g[r]) % 30)] < 0) ++g[r];
  return g;
}();
constexpr std::array<uint8_t, 30> kDownTo = [] {
  std::array<uint8_t, 30> g{};
  for (int r = 0; r < 30; ++r)
    while (kWheelBit[static_cast<size_t>((r + 30 - g[r]) % 30)] < 0) ++g[r];
  return g;
}();

// The multiplier m nearest the window's edge and the distance d of p m
// from it: upwards the least m >= p with p m >= 30 first, downwards the
// greatest m with p m <= 30 first + 29.
struct Edge {
  uint64_t m, d;
};
Edge upward_edge(uint64_t p, uint64_t first) {
  const uint64_t a = first / p, b = first % p;
  const uint64_t up = (30 * b + p - 1) / p;  // ceil(30 b / p)
  if (30 * a + up < p) return {p, p * p - 30 * first};
  return {30 * a + up, up * p - 30 * b};
}
Edge downward_edge(uint64_t p, uint64_t first) {
  const uint64_t a = first / p, t = 30 * (first % p) + 29;
  return {30 * a + t / p, t % p};
}

constexpr uint32_t kNever = 0xffffffff;

// One step of a walk over the multiples p m of a prime with the residue
// kWheel30[i], from m with the residue kWheel30[j] to the next m prime to
// 30 (upwards) or the previous one (downwards): the window byte moves by
// (p / 30) gap + carry, and m takes the next (previous) residue.
struct Step {
  uint8_t gap, carry;
};
using Steps = std::array<std::array<Step, 8>, 8>;
constexpr Steps steps(bool down) {
  Steps t{};
  for (int i = 0; i < 8; ++i)
    for (int j = 0; j < 8; ++j) {
      const int then = down ? (j + 7) % 8 : (j + 1) % 8;
      const int gap = down ? (kWheel30[j] - kWheel30[then] + 30) % 30
                           : (kWheel30[then] - kWheel30[j] + 30) % 30;
      // The distance d of p m from the edge has d mod 30 = p m mod 30
      // upwards and 29 - (p m mod 30) downwards.
      const int pm = kWheel30[i] * kWheel30[j] % 30;
      const int rest = down ? 29 - pm : pm;
      t[static_cast<size_t>(i)][static_cast<size_t>(j)] = {
          static_cast<uint8_t>(gap), static_cast<uint8_t>((rest + kWheel30[i] * gap) / 30)};
    }
  return t;
}
constexpr Steps kUpSteps = steps(false), kDownSteps = steps(true);

// The eight multiples of a turn of m (30 on, q bytes) from each residue of
// m: their bytes from the first, (q / 30) gaps + carries, and their masks.
struct Turn {
  std::array<uint8_t, 8> gaps{}, carries{}, keep{};
};
using Turns = std::array<std::array<Turn, 8>, 8>;
constexpr Turns turns(const Steps& steps, bool down) {
  Turns t{};
  for (size_t i = 0; i < 8; ++i)
    for (size_t c = 0; c < 8; ++c) {
      Turn& u = t[i][c];
      for (size_t k = 0, r = c; k < 8; ++k, r = down ? (r + 7) % 8 : (r + 1) % 8) {
        u.keep[k] = kKeep[i][r];
        if (k < 7) {
          u.gaps[k + 1] = static_cast<uint8_t>(u.gaps[k] + steps[i][r].gap);
          u.carries[k + 1] = static_cast<uint8_t>(u.carries[k] + steps[i][r].carry);
        }
      }
    }
  return t;
}
constexpr Turns kUpTurns = turns(kUpSteps, false), kDownTurns = turns(kDownSteps, true);

// Crosses off the multiples of the prime q from the window byte j, where m
// has the residue kWheel30[c], up to the byte before `end`: whole turns at
// once, then what is left of one; leaves j and c at the first multiple
// past.  `turns` is the row of q's residue, `next` 1 upwards, 7 downwards.
inline void walk(uint8_t* out, uint32_t& j, uint32_t& c, uint32_t q, uint32_t end,
                 const std::array<Turn, 8>& turns, uint32_t next) {
  if (j >= end) return;
  const uint32_t whole = q / 30;
  const Turn& t = turns[c];
  std::array<uint32_t, 8> at{};
  for (size_t k = 1; k < 8; ++k) at[k] = whole * t.gaps[k] + t.carries[k];
  for (; j + at[7] < end; j += q) {
    out[j] &= t.keep[0];
    out[j + at[1]] &= t.keep[1];
    out[j + at[2]] &= t.keep[2];
    out[j + at[3]] &= t.keep[3];
    out[j + at[4]] &= t.keep[4];
    out[j + at[5]] &= t.keep[5];
    out[j + at[6]] &= t.keep[6];
    out[j + at[7]] &= t.keep[7];
  }
  uint32_t k = 0;  // fewer than eight left: j + at[7] >= end
  for (; j + at[k] < end; ++k) out[j + at[k]] &= t.keep[k];
  j += at[k];
  c = (c + k * next) & 7;
}

}  // namespace

uint64_t isqrt_u64(uint64_t n) {
  auto r = static_cast<uint64_t>(std::sqrt(static_cast<double>(n)));
  r = std::min<uint64_t>(r, 0xffffffff);
  while (r > 0 && r > n / r) --r;
  while (r + 1 <= n / (r + 1)) ++r;
  return r;
}

WheelSievePrimes::WheelSievePrimes(uint64_t top) {
  if (top >= (uint64_t{1} << 31) - 30)
    throw std::invalid_argument("WheelSievePrimes: the sieving primes end below 2^31 - 30");
  if (top <= kPatternTop) return;
  const auto limit = static_cast<int32_t>(top);
  const std::unique_ptr<uint8_t[]> composite(new uint8_t[wheel_bytes(limit)]);
  wheel_sieve(composite.get(), limit);
  // pi(x) < 1.25506 x / ln x (Rosser and Schoenfeld); slot 0 stays unused.
  const auto cap = static_cast<int32_t>(1.26 * limit / std::log(limit)) + 8;
  std::vector<int32_t> all(static_cast<size_t>(cap) + 1);
  const int32_t count = wheel_primes(composite.get(), limit, all.data(), 0, cap);
  for (int32_t i = 1; i <= count; ++i)
    if (all[i] > static_cast<int32_t>(kPatternTop))
      primes_.push_back(static_cast<uint32_t>(all[i]));
}

WheelWindows::WheelWindows(const WheelSievePrimes& primes, uint32_t bytes)
    : sieving_(primes),
      bytes_(bytes),
      phase_(patterns().size()),
      small_(static_cast<size_t>(
          std::lower_bound(primes.primes().begin(), primes.primes().end(), kBlock) -
          primes.primes().begin())),
      walk_(primes.primes().size()) {
  if (bytes == 0 || bytes > kMaxBytes)
    throw std::invalid_argument("WheelWindows: 1 to 2^22 bytes a window");
}

void WheelWindows::start(uint64_t first, bool downwards) {
  first_ = first;
  down_ = downwards;
  const auto& pats = patterns();
  for (size_t g = 0; g < pats.size(); ++g) {
    const auto r = static_cast<uint32_t>(first % pats[g].period);
    phase_[g] = down_ ? pats[g].period - 1 - r : r;
  }
  // Downwards every prime is in force; upwards those whose square lies
  // before the first number, the others join when a window reaches it.
  const std::span<const uint32_t> p = sieving_.primes();
  active_ = 0;
  for (; active_ < p.size(); ++active_) {
    const uint64_t q = p[active_];
    if (!down_ && q * q >= 30 * first) break;
    const Edge e = down_ ? downward_edge(q, first) : upward_edge(q, first);
    place(active_, e.m, e.d);
  }
}

void WheelWindows::place(size_t i, uint64_t m, uint64_t d) {
  const uint64_t q = sieving_.primes()[i];
  // The first multiple the run's way with m prime to 30.
  const uint32_t step = down_ ? kDownTo[m % 30] : kUpTo[m % 30];
  if (down_ && m <= step) {
    walk_[i] = kNever;
    return;
  }
  m = down_ ? m - step : m + step;
  walk_[i] =
      static_cast<uint32_t>((d + q * step) / 30) << 3 | static_cast<uint32_t>(kWheelBit[m % 30]);
}

void WheelWindows::fill_patterns(uint8_t* out, uint32_t from, uint32_t to) const {
  const auto& pats = patterns();
  static const std::vector<uint8_t> ones(kTail, 0xff);
  for (uint32_t b = from; b < to; b += kTail) {
    const uint32_t len = std::min(kTail, to - b);
    uint8_t* __restrict o = out + b;
    // Four patterns a pass, the first pass writing, the others ANDing.
    for (size_t g = 0; g < pats.size(); g += 4) {
      std::array<const uint8_t*, 4> src;
      for (size_t h = 0; h < 4; ++h) {
        if (g + h >= pats.size()) {
          src[h] = ones.data();
          continue;
        }
        const Pattern& pat = pats[g + h];
        const uint32_t pos = static_cast<uint32_t>((uint64_t{phase_[g + h]} + b) % pat.period);
        src[h] = (down_ ? pat.down.data() : pat.up.data()) + pos;
      }
      const uint8_t* __restrict s0 = src[0];
      const uint8_t* __restrict s1 = src[1];
      const uint8_t* __restrict s2 = src[2];
      const uint8_t* __restrict s3 = src[3];
      if (g == 0)
        for (uint32_t i = 0; i < len; ++i) o[i] = s0[i] & s1[i] & s2[i] & s3[i];
      else
        for (uint32_t i = 0; i < len; ++i) o[i] &= s0[i] & s1[i] & s2[i] & s3[i];
    }
  }
}

// The pattern primes themselves in out[0 .. span] (1 keeps its bit: callers
// leave it out); no sieving prime strikes them.
void WheelWindows::restore_pattern_primes(uint8_t* out, uint32_t span) const {
  const uint64_t low_byte = down_ ? first_ - span : first_;
  if (low_byte <= kPatternTop / 30) {
    for (const uint32_t q : kPatternPrimes) {
      const uint64_t k = q / 30;
      if (k < low_byte || k > low_byte + span) continue;
      out[down_ ? first_ - k : k - first_] |= static_cast<uint8_t>(1 << kWheelBit[q % 30]);
    }
  }
}

void WheelWindows::next(uint8_t* out, uint32_t count) {
  count = std::min(count, bytes_);
  // Downwards the window may reach below the absolute byte 0.
  const uint32_t span = down_ ? static_cast<uint32_t>(std::min<uint64_t>(count, first_)) : count;
  std::fill(out + span + 1, out + count + 1, 0);
  const std::span<const uint32_t> p = sieving_.primes();
  if (!down_) {
    const uint64_t end = 30 * (first_ + span + 1);  // past the byte after the window
    for (; active_ < p.size() && uint64_t{p[active_]} * p[active_] < end; ++active_) {
      const Edge e = upward_edge(p[active_], first_);
      place(active_, e.m, e.d);
    }
  }
  // A block of the window at a time, within the first-level cache: its
  // patterns, then the primes below kBlock; the larger ones over the whole
  // window; then the byte after it, where a prime has one multiple at most.
  const Turns& turns = down_ ? kDownTurns : kUpTurns;
  const uint32_t next = down_ ? 7 : 1;
  const auto pass = [&](size_t from, size_t to, uint32_t end) {
    for (size_t i = from; i < to; ++i) {
      uint32_t& w = walk_[i];
      if (w == kNever) continue;
      const uint32_t q = p[i];
      const auto cls = static_cast<size_t>(kWheelBit[q % 30]);
      uint32_t j = w >> 3, c = w & 7;
      walk(out, j, c, q, end, turns[cls], next);
      w = j << 3 | c;
    }
  };
  const size_t small = std::min(active_, small_);
  for (uint32_t from = 0; from <= span; from += kBlock) {
    const uint32_t to = std::min(from + kBlock, span + 1);
    fill_patterns(out, from, to);
    pass(0, small, std::min(to, span));
  }
  pass(small, active_, span);
  restore_pattern_primes(out, span);
  for (size_t i = 0; i < active_; ++i) {
    uint32_t& w = walk_[i];
    if (w == kNever) continue;
    const uint32_t j = w >> 3, c = w & 7;
    if (j == span) out[span] &= kKeep[static_cast<size_t>(kWheelBit[p[i] % 30])][c];
    w = (j - span) << 3 | c;
  }
  first_ = down_ ? first_ - bytes_ : first_ + bytes_;
  const auto& pats = patterns();
  for (size_t g = 0; g < pats.size(); ++g)
    phase_[g] = static_cast<uint32_t>((uint64_t{phase_[g]} + bytes_) % pats[g].period);
}

void cross_off(uint8_t* out, uint32_t count, uint64_t first, bool downwards, uint64_t p) {
  const auto& keep = kKeep[static_cast<size_t>(kWheelBit[p % 30])];
  const uint64_t limit = 30 * (uint64_t{count} + 1);  // d past the byte after the window
  if (!downwards) {
    if (p * p >= 30 * first + limit) return;
    Edge e = upward_edge(p, first);
    const uint32_t up = kUpTo[e.m % 30];
    e.m += up, e.d += p * up;
    for (; e.d < limit;) {
      const uint32_t r = e.m % 30;
      out[e.d / 30] &= keep[static_cast<size_t>(kWheelBit[r])];
      const uint32_t step = kUpTo[(r + 1) % 30] + 1;
      e.m += step, e.d += p * step;
    }
  } else {
    const uint64_t span = std::min<uint64_t>(count, first);
    const uint64_t dlimit = 30 * (span + 1);
    Edge e = downward_edge(p, first);
    const uint32_t down = kDownTo[e.m % 30];
    if (e.m <= down) return;
    e.m -= down, e.d += p * down;
    for (; e.d < dlimit;) {
      const uint32_t r = e.m % 30;
      out[e.d / 30] &= keep[static_cast<size_t>(kWheelBit[r])];
      const uint32_t step = kDownTo[(r + 29) % 30] + 1;
      if (e.m <= step) break;
      e.m -= step, e.d += p * step;
    }
  }
}

WheelPrimesBetween::WheelPrimesBetween(uint64_t from, uint64_t to)
    : from_(from),
      to_(to),
      sieving_(isqrt_u64(to)),
      windows_(sieving_, kBytes),
      window_(kBytes + 1) {
  if (to >= uint64_t{1} << 32) throw std::invalid_argument("WheelPrimesBetween: to below 2^32");
}

}  // namespace ntb
