// The threads of pair_counts.hpp and the mirrored windows each one sieves.
//
// The work is cut into runs of consecutive windows, handed out in order by
// an atomic counter: a run starts its sieving primes with one division each
// and carries them from window to window.  For the counts every thread sums
// its own windows' bits; for the list a thread leaves each run's pairs (the
// low bits whose partners are prime) in a ring of slots, and the calling
// thread reads the slots in run order, so that the pairs come out
// ascending while at most twice as many runs as threads are held.
#include "numtheory/goldbach/pair_counts.hpp"

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "numtheory/goldbach/wheel_windows.hpp"
#include "numtheory/interrupt.hpp"

namespace ntb {

namespace {

// The counting loop is built twice where the target lacks the popcnt
// instruction (the baseline x86-64 does), and the loader picks the clone
// the processor runs; the other one counts by a library call.
#if defined(__x86_64__) && !defined(__POPCNT__)
#define NTB_GOLDBACH_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define NTB_GOLDBACH_CLONES
#endif

// A window of 2^20 bytes (31 million numbers a half) keeps the larger
// sieving primes busy: with N = 10^13 it takes half the time a window of
// 2^17 does, and no more with N = 10^10.  The list, which holds a few
// windows per thread until they are read, takes 2^18.
constexpr uint32_t kWindowBytes = uint32_t{1} << 20;
constexpr uint32_t kListWindowBytes = uint32_t{1} << 18;
// The sieving primes up to 2^24 are carried (4 bytes each, and 4 a half
// and thread): with N = 10^14 that takes 0.7 times the time of placing
// those above 2^22 by division.
constexpr uint64_t kCarriedTop = uint64_t{1} << 24;
constexpr unsigned kMaxThreads = 1024;

// For a byte h of the high half, the bits of the low byte whose partners
// it holds: `same` for the partners in the byte of the same index, `next`
// for those in the byte after it.  With N = 30 q + c and a = 30 k + r, the
// partner N - a is 30 (q - k) + c - r when r <= c, else 30 (q - k - 1) +
// c - r + 30; when that residue is not prime to 30 it has no bit (and is no
// prime).
struct Partners {
  std::array<uint8_t, 256> same{}, next{};
  explicit Partners(uint32_t c) {
    for (size_t i = 0; i < 8; ++i) {
      const auto r = static_cast<uint32_t>(kWheel30[i]);
      const int j = kWheelBit[(c + 30 - r) % 30];
      if (j < 0) continue;
      std::array<uint8_t, 256>& t = r <= c ? same : next;
      for (unsigned h = 0; h < 256; ++h)
        if (h >> j & 1) t[h] |= static_cast<uint8_t>(1u << i);
    }
  }

  // pairs[k] = low[k] & (same[high[k]] | next[high[k + 1]]) for k < count.
  void pair(const uint8_t* low, const uint8_t* high, uint8_t* pairs, uint32_t count) const {
    uint32_t k = 0;
#if defined(__x86_64__)
    static const bool shuffles = __builtin_cpu_supports("ssse3");
    if (shuffles) k = pair_by_shuffles(low, high, pairs, count);
#endif
    for (; k < count; ++k) pairs[k] = low[k] & (same[high[k]] | next[high[k + 1]]);
  }

#if defined(__x86_64__)
  // Sixteen bytes at a time: a permutation of bits is the OR of its images
  // of the two halves of a byte, each a lookup of 16 by pshufb.  Returns
  // the bytes done.
  __attribute__((target("ssse3"))) uint32_t pair_by_shuffles(const uint8_t* low,
                                                             const uint8_t* high, uint8_t* pairs,
                                                             uint32_t count) const {
    alignas(16) std::array<uint8_t, 16> t[4];
    for (unsigned h = 0; h < 16; ++h) {
      t[0][h] = same[h], t[1][h] = same[h << 4], t[2][h] = next[h], t[3][h] = next[h << 4];
    }
    const __m128i same_low = _mm_load_si128(reinterpret_cast<const __m128i*>(t[0].data()));
    const __m128i same_high = _mm_load_si128(reinterpret_cast<const __m128i*>(t[1].data()));
    const __m128i next_low = _mm_load_si128(reinterpret_cast<const __m128i*>(t[2].data()));
    const __m128i next_high = _mm_load_si128(reinterpret_cast<const __m128i*>(t[3].data()));
    const __m128i nibble = _mm_set1_epi8(0x0f);
    uint32_t k = 0;
    for (; k + 16 <= count; k += 16) {
      const __m128i h0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(high + k));
      const __m128i h1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(high + k + 1));
      const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(low + k));
      const __m128i a =
          _mm_or_si128(_mm_shuffle_epi8(same_low, _mm_and_si128(h0, nibble)),
                       _mm_shuffle_epi8(same_high, _mm_and_si128(_mm_srli_epi16(h0, 4), nibble)));
      const __m128i b =
          _mm_or_si128(_mm_shuffle_epi8(next_low, _mm_and_si128(h1, nibble)),
                       _mm_shuffle_epi8(next_high, _mm_and_si128(_mm_srli_epi16(h1, 4), nibble)));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(pairs + k), _mm_and_si128(l, _mm_or_si128(a, b)));
    }
    return k;
  }
#endif
};

struct Plan {
  uint64_t n = 0;
  uint64_t top = 0;    // A: the largest odd number <= N/2
  uint64_t least = 3;  // the low members least..last (odd, 3 <= least, last <= A)
  uint64_t last = 0;
  uint64_t pairs = 0;       // K: the pairs of those low members
  uint64_t q = 0;           // N = 30 q + c
  uint64_t first = 0;       // the low byte of window 0, least / 30
  uint64_t root = 0;        // isqrt(N - 3): the sieving primes of the high half
  uint64_t high_least = 0;  // the least high member, N - last, but at least 7
  uint32_t bytes = 0;       // a window
  uint64_t span = 0;        // bytes of either half
  uint64_t windows = 0;
  uint64_t run = 0;  // windows a run
  uint64_t runs = 0;
  uint64_t carried_top = 0;
  unsigned threads = 1;
  Partners partners;

  // The pairs whose low members a have lo <= a <= hi.
  Plan(uint64_t N, unsigned t, const GoldbachLayout& layout, uint32_t default_bytes,
       uint64_t max_run, uint64_t lo = 0, uint64_t hi = UINT64_MAX)
      : n(N), partners(static_cast<uint32_t>(N % 30)) {
    if (N < 6 || N % 2 != 0) throw std::invalid_argument("goldbach: N must be even and >= 6");
    top = N / 2 % 2 == 1 ? N / 2 : N / 2 - 1;
    least = std::max<uint64_t>(lo, 3) | 1;
    last = std::min(hi, top);
    if (last % 2 == 0) last = last == 0 ? 0 : last - 1;
    if (least > last || lo > hi) {  // no pair: one empty window
      least = 3;
      last = 1;
    }
    pairs = least <= last ? (last - least) / 2 + 1 : 0;
    q = N / 30;
    first = least / 30;
    root = isqrt_u64(N - 3);
    high_least = std::max<uint64_t>(N - last, 7);
    span = std::max(std::max(last, least) / 30 - first + 1,
                    q - first - (N - std::max(last, least)) / 30 + 1);
    const uint64_t wanted = layout.window_bytes ? layout.window_bytes : default_bytes;
    bytes = static_cast<uint32_t>(std::min({wanted, span, uint64_t{WheelWindows::kMaxBytes}}));
    windows = (span + bytes - 1) / bytes;
    threads = std::clamp(t, 1u, kMaxThreads);
    // Some eight runs a thread to even out the ends, each as long as allowed.
    run = std::clamp<uint64_t>(windows / (8 * uint64_t{threads}), 1, max_run);
    runs = (windows + run - 1) / run;
    threads = static_cast<unsigned>(std::min<uint64_t>(threads, runs));
    carried_top = std::min(layout.carried_top ? layout.carried_top : kCarriedTop, kCarriedTop);
    carried_top = std::min(carried_top, root);
  }

  // The pairs {3, N - 3} and {5, N - 5}, which the wheel leaves out, as
  // bits 0 and 1, given a test of the high members.
  template <class HighPrime>
  unsigned small_pairs(HighPrime prime) const {
    unsigned r = 0;
    for (unsigned i = 0; i < 2; ++i) {
      const uint64_t a = 3 + 2 * i;
      if (low(a)) r |= static_cast<unsigned>(prime(n - a)) << i;
    }
    return r;
  }
  // Whether a is one of the low members.
  bool low(uint64_t a) const { return least <= a && a <= last; }
  // The odd primes 3 and 5 among the low and the high members.
  uint64_t small_low() const { return low(3) + low(5); }
  uint64_t small_high() const { return (n > 3 && low(n - 3)) + (n > 5 && low(n - 5)); }
};

// The bits of residues r' <= r and r' >= r.
constexpr std::array<uint8_t, 30> kAtMost = [] {
  std::array<uint8_t, 30> m{};
  for (size_t r = 0; r < 30; ++r)
    for (size_t i = 0; i < 8; ++i)
      if (static_cast<size_t>(kWheel30[i]) <= r) m[r] |= static_cast<uint8_t>(1u << i);
  return m;
}();
constexpr std::array<uint8_t, 30> kAtLeast = [] {
  std::array<uint8_t, 30> m{};
  for (size_t r = 0; r < 30; ++r) m[r] = static_cast<uint8_t>(~(r == 0 ? 0 : kAtMost[r - 1]));
  return m;
}();

// The low and the high window of one thread.
class MirrorWindows {
 public:
  MirrorWindows(const Plan& plan, const WheelSievePrimes& carried, const std::atomic<bool>& stop)
      : plan_(plan),
        stop_(stop),
        low_(carried, plan.bytes),
        high_(carried, plan.bytes),
        low_bytes_(plan.bytes + 8),
        high_bytes_(plan.bytes + 8),
        pairs_(plan.bytes + 8) {
    if (plan.root > plan.carried_top)
      far_ = std::make_unique<WheelPrimesBetween>(plan.carried_top, plan.root);
  }

  void start(uint64_t window) {
    low_.start(plan_.first + window * plan_.bytes, false);
    high_.start(plan_.q - plan_.first - window * plan_.bytes, true);
  }

  // Sieves the run's next window, the w-th, and pairs its halves; returns
  // its bytes.
  uint32_t next(uint64_t w) {
    const auto count =
        static_cast<uint32_t>(std::min<uint64_t>(plan_.bytes, plan_.span - w * plan_.bytes));
    const uint64_t low_first = low_.first(), high_first = high_.first();
    uint8_t* low = low_bytes_.data();
    uint8_t* high = high_bytes_.data();
    low_.next(low, count);
    high_.next(high, count);
    if (far_)
      far_->each([&](uint64_t p) {
        cross_off(low, count, low_first, false, p);
        cross_off(high, count, high_first, true, p);
        return !stop_;
      });
    if (w == 0) small_ = plan_.small_pairs([&](uint64_t v) { return high_prime(v); });
    mask_low(low, low_first, count);
    mask_high(high, high_first, count);
    plan_.partners.pair(low, high, pairs_.data(), count);
    return count;
  }

  const uint8_t* low() const { return low_bytes_.data(); }
  const uint8_t* high() const { return high_bytes_.data(); }
  const uint8_t* pairs() const { return pairs_.data(); }
  unsigned small_pairs() const { return small_; }  // set by window 0

 private:
  // A high member v >= N - 5 of window 0: its bit, or what v < 7 is.
  bool high_prime(uint64_t v) const {
    if (v < 7) return v == 3 || v == 5;
    const int bit = kWheelBit[v % 30];
    return bit >= 0 && (high_bytes_[plan_.q - plan_.first - v / 30] >> bit & 1);
  }
  // Keeps the low members from max(least, 7) to last (and so leaves 1 out).
  void mask_low(uint8_t* s, uint64_t first, uint32_t count) const {
    const uint64_t lo = std::max<uint64_t>(plan_.least, 7), hi = plan_.last;
    const uint64_t below = lo / 30 > first ? std::min<uint64_t>(lo / 30 - first, count) : 0;
    std::fill(s, s + below, 0);
    if (lo / 30 >= first && lo / 30 - first < count) s[lo / 30 - first] &= kAtLeast[lo % 30];
    if (hi < lo) {
      std::fill(s, s + count, 0);
      return;
    }
    const uint64_t k = hi / 30;
    if (k >= first + count) return;
    if (k >= first) s[k - first] &= kAtMost[hi % 30];
    std::fill(s + (k >= first ? k - first + 1 : 0), s + count, 0);
  }
  // Keeps the high members from max(N - last, 7) to N - least (window byte
  // u is the absolute byte first - u).
  void mask_high(uint8_t* s, uint64_t first, uint32_t count) const {
    const uint64_t hi = plan_.n - plan_.least, lo = plan_.high_least;
    if (hi < lo) {
      std::fill(s, s + count, 0);
      return;
    }
    const uint64_t above = first > hi / 30 ? std::min<uint64_t>(first - hi / 30, count) : 0;
    std::fill(s, s + above, 0);
    if (hi / 30 <= first && first - hi / 30 < count) s[first - hi / 30] &= kAtMost[hi % 30];
    if (lo / 30 <= first && first - lo / 30 < count) s[first - lo / 30] &= kAtLeast[lo % 30];
    const uint64_t below = lo / 30 <= first ? first - lo / 30 + 1 : 0;
    if (below < count) std::fill(s + below, s + count, 0);
  }

  const Plan& plan_;
  const std::atomic<bool>& stop_;  // the far primes of a huge N take seconds a window
  WheelWindows low_, high_;
  std::vector<uint8_t> low_bytes_, high_bytes_, pairs_;
  std::unique_ptr<WheelPrimesBetween> far_;
  unsigned small_ = 0;
};

// The bits set in s[0 .. n - 1].
NTB_GOLDBACH_CLONES uint64_t bits_in(const uint8_t* s, uint32_t n) {
  uint64_t c = 0;
  uint32_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t z;
    std::memcpy(&z, s + i, 8);
    c += static_cast<uint64_t>(std::popcount(z));
  }
  for (; i < n; ++i) c += static_cast<uint64_t>(std::popcount(s[i]));
  return c;
}

struct Tally {
  uint64_t low = 0, high = 0, both = 0;
};

// The threads of one computation; the destructor stops and joins them.
class Crew {
 public:
  explicit Crew(const Plan& plan) : plan_(plan), carried_(plan.carried_top) {}
  ~Crew() {
    halt();
    for (std::thread& t : threads_) t.join();
  }

  template <class Work>
  void launch(Work work) {
    for (unsigned i = 0; i < plan_.threads; ++i)
      threads_.emplace_back([this, work, i] {
        try {
          MirrorWindows windows(plan_, carried_, stop_);
          work(i, windows);
        } catch (...) {
          const std::lock_guard lock(mutex_);
          if (!error_) error_ = std::current_exception();
          stop_ = true;
          changed_.notify_all();
        }
      });
  }

  // The next run to sieve, or none when all are taken or the crew stops.
  std::optional<uint64_t> take_run() {
    const uint64_t u = next_run_.fetch_add(1);
    if (u >= plan_.runs || stop_) return std::nullopt;
    return u;
  }
  bool stopped() const { return stop_; }

  // Called by the threads after each window, under the lock.
  template <class Change>
  void report(Change change) {
    {
      const std::lock_guard lock(mutex_);
      change();
      ++done_;
    }
    changed_.notify_all();
  }

  // Waits, at most a tenth of a second, until ready() holds or the crew
  // stops; then rethrows a thread's exception or polls for Ctrl-C.
  template <class Ready>
  void wait(Ready ready) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, std::chrono::milliseconds(100), [&] { return stop_ || ready(); });
    if (error_) std::rethrow_exception(error_);
    lock.unlock();
    interruption_point();
  }

  template <class Wait>
  void wait_for(std::unique_lock<std::mutex>& lock, Wait until) {
    changed_.wait(lock, [&] { return stop_ || until(); });
  }

  std::mutex& mutex() { return mutex_; }
  void notify() { changed_.notify_all(); }
  uint64_t done() const { return done_; }  // under the lock

  void halt() {
    {
      const std::lock_guard lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
  }

 private:
  const Plan& plan_;
  const WheelSievePrimes carried_;
  std::vector<std::thread> threads_;
  std::atomic<uint64_t> next_run_{0};
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
  std::exception_ptr error_;
  uint64_t done_ = 0;  // windows
};

}  // namespace

GoldbachCounts goldbach_counts_u64(uint64_t N, unsigned threads, const GoldbachProgress& progress,
                                   const GoldbachLayout& layout) {
  return goldbach_counts_u64_part(N, 0, UINT64_MAX, threads, progress, layout);
}

GoldbachCounts goldbach_counts_u64_part(uint64_t N, uint64_t lo, uint64_t hi, unsigned threads,
                                        const GoldbachProgress& progress,
                                        const GoldbachLayout& layout) {
  const Plan plan(N, threads, layout, kWindowBytes, 64, lo, hi);
  std::vector<Tally> tallies(plan.threads);
  {
    Crew crew(plan);
    crew.launch([&](unsigned i, MirrorWindows& windows) {
      Tally mine;
      while (const auto u = crew.take_run()) {
        const uint64_t first = *u * plan.run, end = std::min(first + plan.run, plan.windows);
        windows.start(first);
        for (uint64_t w = first; w < end && !crew.stopped(); ++w) {
          const uint32_t count = windows.next(w);
          mine.low += bits_in(windows.low(), count);
          mine.high += bits_in(windows.high(), count);
          mine.both += bits_in(windows.pairs(), count);
          if (w == 0) mine.both += std::popcount(windows.small_pairs());
          crew.report([] {});
        }
      }
      crew.report([&] { tallies[i] = mine; });  // one more than the windows: the thread's end
    });
    uint64_t shown = 0;
    for (;;) {
      uint64_t done = 0;
      crew.wait([&] { return crew.done() != shown; });
      {
        const std::lock_guard lock(crew.mutex());
        done = crew.done();
      }
      if (progress && done != shown) progress(std::min(done, plan.windows), plan.windows);
      shown = done;
      if (done == plan.windows + plan.threads) break;
    }
  }
  GoldbachCounts c;
  c.n = N;
  c.all_pairs = plan.pairs;
  c.low_primes = plan.small_low();
  c.high_primes = plan.small_high();
  for (const Tally& t : tallies) {
    c.low_primes += t.low;
    c.high_primes += t.high;
    c.prime_pairs += t.both;
  }
  c.mixed_pairs = c.low_primes + c.high_primes - 2 * c.prime_pairs;
  c.composite_pairs = c.all_pairs - c.prime_pairs - c.mixed_pairs;
  return c;
}

bool goldbach_pairs_u64(uint64_t N, unsigned threads, const GoldbachPairVisitor& visit,
                        const GoldbachProgress& progress, const GoldbachLayout& layout) {
  const Plan plan(N, threads, layout, kListWindowBytes, 4);
  // Slot s holds run u = s mod slots once ready[s] = u + 1: its windows' pairs.
  const uint64_t slots = 2 * uint64_t{plan.threads};
  std::vector<std::vector<uint8_t>> slot(slots, std::vector<uint8_t>(plan.run * plan.bytes));
  std::vector<uint64_t> ready(slots, 0);
  uint64_t consumed = 0;  // runs read
  unsigned small = 0;     // the pairs of 3 and 5, from window 0
  Crew crew(plan);
  crew.launch([&](unsigned, MirrorWindows& windows) {
    while (const auto u = crew.take_run()) {
      {
        std::unique_lock lock(crew.mutex());
        crew.wait_for(lock, [&] { return *u < consumed + slots; });
      }
      if (crew.stopped()) return;
      const uint64_t first = *u * plan.run, end = std::min(first + plan.run, plan.windows);
      uint8_t* out = slot[*u % slots].data();
      windows.start(first);
      for (uint64_t w = first; w < end && !crew.stopped(); ++w) {
        const uint32_t count = windows.next(w);
        std::memcpy(out + (w - first) * plan.bytes, windows.pairs(), count);
      }
      crew.report([&] {
        ready[*u % slots] = *u + 1;
        if (*u == 0) small = windows.small_pairs();
      });
    }
  });
  for (uint64_t u = 0; u < plan.runs; ++u) {
    const auto is_ready = [&] { return ready[u % slots] == u + 1; };
    for (bool got = false; !got;) {
      crew.wait(is_ready);
      const std::lock_guard lock(crew.mutex());
      got = is_ready();
    }
    if (u == 0)
      for (uint64_t i = 0; i < 2; ++i)
        if ((small >> i & 1) && !visit(3 + 2 * i, N - 3 - 2 * i)) return false;
    const uint64_t first = u * plan.run, end = std::min(first + plan.run, plan.windows);
    const uint8_t* in = slot[u % slots].data();
    for (uint64_t w = first; w < end; ++w) {
      interruption_point();
      const uint8_t* pairs = in + (w - first) * plan.bytes;
      const auto count =
          static_cast<uint32_t>(std::min<uint64_t>(plan.bytes, plan.span - w * plan.bytes));
      for (uint32_t k = 0; k < count; ++k)
        for (unsigned z = pairs[k]; z != 0; z &= z - 1) {
          const uint64_t p =
              30 * (w * plan.bytes + k) + static_cast<uint64_t>(kWheel30[std::countr_zero(z)]);
          if (!visit(p, N - p)) return false;
        }
    }
    {
      const std::lock_guard lock(crew.mutex());
      consumed = u + 1;
    }
    crew.notify();
    if (progress) progress(end, plan.windows);
  }
  return true;
}

}  // namespace ntb
