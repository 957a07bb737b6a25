// The verification of goldbach_verify.hpp: the threads, the windows each
// one lays out, and the covering of a window's even numbers by the small
// primes.
//
// The range, counted in bytes of 30 numbers, is cut into runs of consecutive
// windows of W bytes, handed out in order by an atomic counter.  A run takes
// its primes from one walk of prime_blocks.hpp (libprimesieve's segmented
// sieve, the fastest way here to the primes of a range) and lays each
// window out as a table of odd numbers, a bit each, behind the last
// kTailBytes bytes of the window before it: the table of a window at byte F
// starts at the odd number 30 (F - kTailBytes) + 1, so that for an even
// n = 30 F + 2k of the window and an odd p < kReach the number n - p is the
// table's bit k + (kReach - 1 - p) / 2.  A run's first window has no window
// before it: its first kTailBytes bytes are laid out for the table only,
// their n belonging to the run before.
//
// The n still uncovered are a mask of 15 W / 64 words, bit k for n = 30 F +
// 2k.  A block of eight words (one AVX-512 vector, two AVX2 ones, or a word
// at a time) takes the table primes p = 3, 5, 7, ... in turn and clears the
// bits whose n - p is prime, the table read shifted by (kReach - 1 - p) / 2
// bits (the table primes of one table word share its loads), until no bit
// is left: the p that clears the last bits is the block's largest least p,
// and the first of those bits its n.  Blocks with bits left after the table
// primes, and blocks that may hold a record, take their n one at a time.  The tests force each
// kernel the CPU runs (goldbach_verify_kernels.hpp).
#include "numtheory/goldbach/goldbach_verify.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <stdexcept>
#include <thread>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "numtheory/factor/prime_test64.hpp"
#include "numtheory/goldbach/goldbach_verify_kernels.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/sieve/prime_blocks.hpp"
#include "numtheory/sieve/sieve_settings.hpp"

namespace ntb {

namespace {

constexpr uint32_t kTailBytes = 128;                    // the window before, in the table
constexpr uint32_t kTailWords = kTailBytes * 15 / 64;   // 30
constexpr uint64_t kReach = 30 * uint64_t{kTailBytes};  // n - p in the table for p < kReach
constexpr uint32_t kWindowBytes = uint32_t{1} << 16;    // a multiple of 256
constexpr uint32_t kBlockWords = 8;                     // mask words of a block
constexpr uint32_t kPadWords = 16;                      // past the table and the mask
constexpr uint64_t kLongStartUp = uint64_t{1} << 48;    // b beyond: one run a thread
constexpr unsigned kMaxThreads = 1024;

static_assert(kWindowBytes % 256 == 0 && kWindowBytes >= kTailBytes);

// A table prime and where the mask's word 0 reads its shifted table.
struct TablePrime {
  uint32_t p, word, bits;  // (kReach - 1 - p) / 2 = 64 word + bits
};

// What a block's covering ended with: the index of the table prime that
// cleared its last bits (the count of table primes when bits are left),
// and the bits it cleared, or those left.
struct Cover {
  uint32_t j = 0;
  std::array<uint64_t, kBlockWords> last{};
};

// One word at a time: t is the table at the mask word of the block.
Cover cover_words(const uint64_t* t, const uint64_t* mask, std::span<const TablePrime> primes) {
  Cover c;
  bool any = false;
  for (uint32_t i = 0; i < kBlockWords; ++i) {
    uint64_t u = mask[i];
    if (u == 0) continue;
    uint32_t j = 0;
    for (; j < primes.size(); ++j) {
      const uint64_t* x = t + i + primes[j].word;
      const unsigned s = primes[j].bits;
      const uint64_t hit = (x[0] >> s) | ((x[1] << 1) << (63 - s));
      if ((u & ~hit) == 0) break;
      u &= ~hit;
    }
    // The block ends at the largest of its words' last primes, with the
    // bits of each word that ends there.
    if (!any || j > c.j) {
      c.j = j;
      c.last = {};
      any = true;
    }
    if (j == c.j) c.last[i] = u;
  }
  return c;
}

#if defined(__x86_64__)
// The eight words as two vectors of four, the loads shared as below.
__attribute__((target("avx2"))) Cover cover_avx2(const uint64_t* t, const uint64_t* mask,
                                                 std::span<const TablePrime> primes) {
  __m256i u0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mask));
  __m256i u1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(mask + 4));
  const auto n = static_cast<uint32_t>(primes.size());
  uint32_t j = 0, word = UINT32_MAX;
  __m256i y0 = u0, y1 = u0, z0 = u0, z1 = u0;  // the words at x and x + 1
  for (; j < n; ++j) {
    if (primes[j].word != word) {
      word = primes[j].word;
      const auto* y = reinterpret_cast<const __m256i*>(t + word);
      const auto* z = reinterpret_cast<const __m256i*>(t + word + 1);
      y0 = _mm256_loadu_si256(y);
      y1 = _mm256_loadu_si256(y + 1);
      z0 = _mm256_loadu_si256(z);
      z1 = _mm256_loadu_si256(z + 1);
    }
    const __m128i right = _mm_cvtsi32_si128(static_cast<int>(primes[j].bits));
    const __m128i left = _mm_cvtsi32_si128(64 - static_cast<int>(primes[j].bits));
    const __m256i h0 = _mm256_or_si256(_mm256_srl_epi64(y0, right), _mm256_sll_epi64(z0, left));
    const __m256i h1 = _mm256_or_si256(_mm256_srl_epi64(y1, right), _mm256_sll_epi64(z1, left));
    const __m256i v0 = _mm256_andnot_si256(h0, u0);
    const __m256i v1 = _mm256_andnot_si256(h1, u1);
    const __m256i any = _mm256_or_si256(v0, v1);
    if (_mm256_testz_si256(any, any)) break;
    u0 = v0;
    u1 = v1;
  }
  Cover c;
  c.j = j;
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(c.last.data()), u0);
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(c.last.data() + 4), u1);
  return c;
}

// The eight words as one vector.  The table primes that read from the same
// words (some twenty in a row, since their shifts differ by a few bits)
// share their loads, each shifting them by a funnel shift.  The
// zero-masking forms: the plain ones leave GCC 12 warning of their
// undefined pass-through operand.
__attribute__((target("avx512f,avx512vbmi2"))) Cover cover_avx512(
    const uint64_t* t, const uint64_t* mask, std::span<const TablePrime> primes) {
  __m512i u = _mm512_loadu_si512(mask);
  const auto n = static_cast<uint32_t>(primes.size());
  uint32_t j = 0, word = UINT32_MAX;
  __m512i lo = u, hi = u;
  for (; j < n; ++j) {
    if (primes[j].word != word) {
      word = primes[j].word;
      lo = _mm512_loadu_si512(t + word);
      hi = _mm512_loadu_si512(t + word + 1);
    }
    const __m512i hit = _mm512_maskz_shrdv_epi64(0xff, lo, hi, _mm512_set1_epi64(primes[j].bits));
    const __m512i v = _mm512_maskz_andnot_epi64(0xff, hit, u);
    if (_mm512_test_epi64_mask(v, v) == 0) break;
    u = v;
  }
  Cover c;
  c.j = j;
  _mm512_storeu_si512(c.last.data(), u);
  return c;
}
#endif

std::atomic<GoldbachKernel> forced_kernel{GoldbachKernel::kBest};

#if defined(__x86_64__)
bool runs_avx2() {
  return __builtin_cpu_supports("avx2");
}
bool runs_avx512() {
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vbmi2");
}
#endif

struct Plan {
  uint64_t a = 0, b = 0;  // the even n checked by the windows: a..b, 6 <= a
  uint64_t first = 0;     // the wheel byte of a
  uint64_t bytes = 0;     // from first to the byte of b
  uint64_t windows = 0, run = 0, runs = 0;
  unsigned threads = 1;
  bool records = false;
  uint64_t max_p = 0;
  std::vector<TablePrime> table;

  Plan(uint64_t a0, uint64_t b0, unsigned t, bool rec, uint64_t bound)
      : records(rec), max_p(bound) {
    a = std::max<uint64_t>(a0, 6);
    a += a % 2;
    b = b0 - b0 % 2;
    if (a > b) return;
    first = a / 30;
    bytes = b / 30 - first + 1;
    windows = (bytes + kWindowBytes - 1) / kWindowBytes;
    threads = static_cast<unsigned>(std::min<uint64_t>(std::clamp(t, 1u, kMaxThreads), windows));
    // Some eight runs a thread to even out the ends, each paying the start-up
    // of a sieve of the primes up to sqrt(b); past 2^48, where that takes
    // long, one a thread.
    run = b < kLongStartUp ? std::clamp<uint64_t>(windows / (8 * uint64_t{threads}), 1, 64)
                           : (windows + threads - 1) / threads;
    runs = (windows + run - 1) / run;
    for (uint32_t p = 3; p < kReach; p += 2) {
      if (max_p != 0 && p > max_p) break;
      bool prime = true;
      for (uint32_t d = 3; d * d <= p && prime; d += 2) prime = p % d != 0;
      const uint32_t off = static_cast<uint32_t>((kReach - 1 - p) / 2);
      if (prime) table.push_back({p, off / 64, off % 64});
    }
  }
};

// The windows of one thread and the covering of their n.
class Worker {
 public:
  explicit Worker(const Plan& plan)
      : plan_(plan),
        table_(kTailWords + kWindowBytes * 15 / 64 + kPadWords),
        mask_(kWindowBytes * 15 / 64 + kPadWords) {
#if defined(__x86_64__)
    const GoldbachKernel k = forced_kernel.load();
    avx2_ = (k == GoldbachKernel::kBest || k == GoldbachKernel::kAvx2) && runs_avx2();
    avx512_ = (k == GoldbachKernel::kBest || k == GoldbachKernel::kAvx512) && runs_avx512();
#endif
  }

  // The verification of the n of the run u; window_done(bytes) after each
  // window, with the bytes of the run it covered.
  template <class Done>
  GoldbachVerification run(uint64_t u, const std::atomic<bool>& stop, Done window_done) {
    GoldbachVerification v;
    const uint64_t r0 = plan_.first + u * plan_.run * kWindowBytes;
    const uint64_t r1 = std::min(r0 + plan_.run * kWindowBytes, plan_.first + plan_.bytes);
    const uint64_t start = r0 >= kTailBytes ? r0 - kTailBytes : 0;
    // The primes of the run's bytes, up to b.
    const uint64_t top = r1 - 1 >= plan_.b / 30 ? plan_.b : (r1 - 1) * 30 + 29;
    blocks_ = std::make_unique<PrimeBlocks>(30 * start, top);
    block_ = blocks_->next();
    std::fill(table_.begin(), table_.begin() + kTailWords, 0);
    for (uint64_t f = start; f < r1 && !stop; f += kWindowBytes) {
      const auto count = static_cast<uint32_t>(std::min<uint64_t>(kWindowBytes, r1 - f));
      if (f != start)
        std::memcpy(table_.data(), table_.data() + kWindowBytes * 15 / 64, kTailWords * 8);
      sieve(f, count);
      cover(v, f, std::max(f, r0), count);
      window_done(f + count - std::max(f, r0));
    }
    return v;
  }

 private:
  // The table of the window at byte f with `count` bytes: the bits of its
  // odd primes, from the run's blocks of primes.
  void sieve(uint64_t f, uint32_t count) {
    uint64_t* t = table_.data() + kTailWords;
    std::fill(t, table_.data() + table_.size(), 0);
    const uint64_t odd = 30 * f + 1;  // the number of bit 0
    // The numbers past the window: from 30 (f + count) on, or none below 2^64.
    const uint64_t end = f + count > UINT64_MAX / 30 ? UINT64_MAX : 30 * (f + count) - 1;
    // Each prime sets its bit in a running word that is stored whole: the
    // primes ascend, so the word of a prime holds every earlier bit of it,
    // and no store waits on the load of the word just stored.
    uint64_t word = UINT64_MAX, bits = 0;
    while (!block_.empty() && block_.front() <= end) {
      const size_t size =
          block_.back() <= end
              ? block_.size()
              : static_cast<size_t>(std::upper_bound(block_.begin(), block_.end(), end) -
                                    block_.begin());
      const uint64_t* p = block_.data();
      for (size_t i = p[0] == 2 ? 1 : 0; i < size; ++i) {
        const uint64_t bit = (p[i] - odd) / 2, w = bit / 64;
        // Kept only in the same word, by a mask rather than a branch.
        bits = (bits & (uint64_t{0} - (w == word))) | uint64_t{1} << (bit % 64);
        t[w] = bits;
        word = w;
      }
      block_ = block_.subspan(size);
      if (block_.empty()) block_ = blocks_->next();
    }
  }

  // The n of the window at byte f from the byte `from` on, added to v.
  void cover(GoldbachVerification& v, uint64_t f, uint64_t from, uint32_t count) {
    const uint64_t base = 30 * f;
    const uint64_t lo = std::max(plan_.a, 30 * from);
    const uint64_t hi =
        plan_.b - base < 30 * uint64_t{count} - 2 ? plan_.b : base + 30 * uint64_t{count} - 2;
    const uint32_t words = count * 15 / 64 + 1;
    std::fill(mask_.begin(), mask_.begin() + words + kBlockWords, 0);
    if (lo > hi) return;
    const uint64_t k0 = (lo - base) / 2, k1 = (hi - base) / 2;
    for (uint64_t k = k0; k <= k1;) {  // bits k0..k1, a word at a time
      const uint64_t w = k / 64, end = std::min(k1, w * 64 + 63);
      const unsigned len = static_cast<unsigned>(end - k + 1);
      mask_[w] |= (len == 64 ? ~uint64_t{0} : (uint64_t{1} << len) - 1) << (k % 64);
      k = end + 1;
    }
    v.checked += (k1 - k0) + 1;
    const std::span<const TablePrime> primes = plan_.table;
    for (uint32_t w = static_cast<uint32_t>(k0 / 64); w <= k1 / 64; w += kBlockWords) {
      const uint64_t* m = mask_.data() + w;
      if ((m[0] | m[1] | m[2] | m[3] | m[4] | m[5] | m[6] | m[7]) == 0) continue;
      const uint64_t* t = table_.data() + w;
#if defined(__x86_64__)
      const Cover c = avx512_ ? cover_avx512(t, m, primes)
                      : avx2_ ? cover_avx2(t, m, primes)
                              : cover_words(t, m, primes);
#else
      const Cover c = cover_words(t, m, primes);
#endif
      uint64_t p = 0, n = 0;
      if (c.j < primes.size()) {
        p = primes[c.j].p;
        for (uint32_t i = 0; i < kBlockWords; ++i)
          if (c.last[i] != 0) {
            n = base + 2 * (64 * uint64_t{w + i} + std::countr_zero(c.last[i]));
            break;
          }
      }
      if (c.j == primes.size() || (plan_.records && p > v.worst.p)) {
        one_at_a_time(v, base, w, m);
      } else if (p > v.worst.p) {
        v.worst = {n, p};
      }
    }
  }

  // The n of a block one by one: their least p, the records, the n left.
  void one_at_a_time(GoldbachVerification& v, uint64_t base, uint32_t w, const uint64_t* m) {
    for (uint32_t i = 0; i < kBlockWords; ++i)
      for (uint64_t z = m[i]; z != 0; z &= z - 1) {
        const uint64_t k = 64 * uint64_t{w + i} + std::countr_zero(z);
        const uint64_t n = base + 2 * k, p = least_p(n, k);
        if (p == 0) {
          if (v.unverified.size() < kUnverifiedKept) v.unverified.push_back(n);
          ++v.unverified_count;
        } else if (p > v.worst.p) {
          v.worst = {n, p};
          if (plan_.records) v.records.push_back(v.worst);
        }
      }
  }

  // The least p of n = base + 2k, by the table, then by tests; 0 when none
  // up to max_p (or up to n - 3) works.
  uint64_t least_p(uint64_t n, uint64_t k) const {
    for (const TablePrime& t : plan_.table) {
      const uint64_t bit = k + 64 * uint64_t{t.word} + t.bits;
      if (table_[bit / 64] >> (bit % 64) & 1) return t.p;
    }
    const uint64_t top = plan_.max_p != 0 ? std::min(plan_.max_p, n - 3) : n - 3;
    for (uint64_t p = kReach + 1; p <= top; p += 2)
      if (is_prime_u64(p) && is_prime_u64(n - p)) return p;
    return 0;
  }

  const Plan& plan_;
  std::vector<uint64_t> table_, mask_;
  std::unique_ptr<PrimeBlocks> blocks_;
  std::span<const uint64_t> block_;
  bool avx2_ = false, avx512_ = false;
};

}  // namespace

std::vector<GoldbachKernel> goldbach_verify_kernels_for_tests() {
  std::vector<GoldbachKernel> kernels{GoldbachKernel::kWords};
#if defined(__x86_64__)
  if (runs_avx2()) kernels.push_back(GoldbachKernel::kAvx2);
  if (runs_avx512()) kernels.push_back(GoldbachKernel::kAvx512);
#endif
  return kernels;
}

void force_goldbach_verify_kernel_for_tests(GoldbachKernel kernel) {
  forced_kernel = kernel;
}

void merge_into(GoldbachVerification& all, const GoldbachVerification& later) {
  uint64_t top = all.worst.p;
  for (const GoldbachRecord& r : later.records)
    if (r.p > top) {
      all.records.push_back(r);
      top = r.p;
    }
  if (later.worst.n != 0 && (all.worst.n == 0 || later.worst.p > all.worst.p))
    all.worst = later.worst;
  all.checked += later.checked;
  all.unverified_count += later.unverified_count;
  for (const uint64_t n : later.unverified)
    if (all.unverified.size() < kUnverifiedKept) all.unverified.push_back(n);
}

GoldbachVerification verify_goldbach(uint64_t a, uint64_t b, unsigned threads, bool records,
                                     std::atomic<double>* progress, uint64_t max_p) {
  if (a < 4 || a > b) throw std::invalid_argument("verify_goldbach: 4 <= a <= b");
  GoldbachVerification all;
  if (a == 4) {  // 4 = 2 + 2, the one n whose least p is even
    all.checked = 1;
    if (max_p == 0 || max_p >= 2) {
      all.worst = {4, 2};
      if (records) all.records.push_back(all.worst);
    } else {
      all.unverified = {4};
      all.unverified_count = 1;
    }
  }
  const Plan plan(a, b, threads, records, max_p);
  if (plan.a > plan.b) {
    if (progress) progress->store(1.0);
    return all;
  }
  const SieveSettings settings(false);
  std::atomic<uint64_t> next_run{0}, bytes_done{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::exception_ptr error;
  std::map<uint64_t, GoldbachVerification> pending;  // runs done out of order
  uint64_t merged = 0;                               // runs merged into all
  const auto work = [&](bool caller) {
    try {
      Worker worker(plan);
      for (uint64_t u; !stop && (u = next_run.fetch_add(1)) < plan.runs;) {
        GoldbachVerification v = worker.run(u, stop, [&](uint64_t bytes) {
          const uint64_t done = bytes_done.fetch_add(bytes, std::memory_order_relaxed) + bytes;
          if (progress)
            progress->store(static_cast<double>(done) / static_cast<double>(plan.bytes),
                            std::memory_order_relaxed);
          if (caller) interruption_point();
        });
        const std::lock_guard lock(mutex);
        pending.emplace(u, std::move(v));
        for (auto it = pending.begin(); it != pending.end() && it->first == merged;
             it = pending.erase(it), ++merged)
          merge_into(all, it->second);
      }
    } catch (...) {
      const std::lock_guard lock(mutex);
      if (!error) error = std::current_exception();
      stop = true;
    }
  };
  std::vector<std::thread> crew;
  for (unsigned i = 1; i < plan.threads; ++i) crew.emplace_back(work, false);
  work(true);
  for (std::thread& t : crew) t.join();
  if (error) std::rethrow_exception(error);
  return all;
}

}  // namespace ntb
