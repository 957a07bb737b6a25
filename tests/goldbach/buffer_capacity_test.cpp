// How many values the mixed listing of Goldbach1 records for the composite
// listing, and the largest number over every even N from 6 to 2000000,
// which sizes the composite buffer.
//
// The values recorded are the larger members of the C composite pairs, and
// further the smaller members of composite pairs between N/2 and the
// largest mixed partner below N/2 (the gap that straddles N/2 is read
// whole).  C for every N comes from the prime-pair counts of all even
// numbers at once, a convolution done here by a number-theoretic transform.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "goldbach/engine/engines.hpp"
#include "oracle.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using testing::built_tables;
using testing::full_oracle;
using testing::full_run;
using testing::Oracle;
using testing::random_evens;

// The smaller composite-pair members that the straddling gap adds: the odd
// v below N/2, walking down, up to the largest mixed partner (v composite
// with N - v prime); none when there is no such partner.
int32_t straddle_extra(int32_t N, const Oracle& o) {
  int32_t extra = 0;
  for (int32_t v = (N / 2 - 1) | 1; v >= 3; v -= 2) {
    if (v >= N / 2) continue;
    if (!o.odd_composite(v)) continue;
    if (o.odd_prime(N - v)) return extra;
    ++extra;
  }
  return 0;
}

int32_t recorded_by_formula(int32_t N, int32_t composite_pairs, const Oracle& o) {
  return composite_pairs + straddle_extra(N, o);
}

TEST(GoldbachCompositeBuffer, RecordedValuesAreTheCompositePairsAndTheStraddlingGap) {
  const Counts c(built_tables());
  static CompositeBuffer buf;
  const Oracle& o = full_oracle();
  std::vector<int32_t> ns;
  for (int32_t N = 6; N <= 6000; N += 2) ns.push_back(N);
  for (int32_t N : random_evens(full_run() ? 200 : 4, 6000, 2000000, 71)) ns.push_back(N);
  for (int32_t N : ns) {
    mixed_pair_listing(N, c, buf, nullptr);
    ASSERT_EQ(buf.recorded, recorded_by_formula(N, o.composite_pairs(N), o)) << N;
  }
}

// ---- number-theoretic transform modulo 998244353 (primitive root 3)

constexpr uint32_t kMod = 998244353;

uint32_t power(uint64_t b, uint64_t e) {
  uint64_t r = 1;
  for (b %= kMod; e; e >>= 1, b = b * b % kMod)
    if (e & 1) r = r * b % kMod;
  return static_cast<uint32_t>(r);
}

void ntt(std::vector<uint32_t>& a, bool inverse) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    uint64_t w = power(3, (kMod - 1) / len);
    if (inverse) w = power(w, kMod - 2);
    for (size_t i = 0; i < n; i += len) {
      uint64_t wk = 1;
      for (size_t k = 0; k < len / 2; ++k, wk = wk * w % kMod) {
        const uint32_t u = a[i + k];
        const uint32_t v = static_cast<uint32_t>(a[i + k + len / 2] * wk % kMod);
        a[i + k] = u + v >= kMod ? u + v - kMod : u + v;
        a[i + k + len / 2] = u >= v ? u - v : u + kMod - v;
      }
    }
  }
  if (inverse) {
    const uint64_t inv = power(n, kMod - 2);
    for (auto& x : a) x = static_cast<uint32_t>(x * inv % kMod);
  }
}

TEST(GoldbachCompositeBufferFull, CapacityIsTheLargestNumberRecorded) {
  if (!full_run()) GTEST_SKIP();
  const Oracle& o = full_oracle();
  // Slot i stands for the odd number 2i + 1; slot sums s give N = 2s + 2.
  std::vector<uint32_t> a(size_t{1} << 21, 0);
  for (int32_t i = 1; 2 * i + 1 < kGoldbachTop; ++i) a[i] = o.odd_prime(2 * i + 1);
  ntt(a, false);
  for (auto& x : a) x = static_cast<uint32_t>(uint64_t{x} * x % kMod);
  ntt(a, true);
  int32_t best = 0, best_N = 0;
  for (int32_t N = 6; N <= kGoldbachTop; N += 2) {
    const int32_t half_prime = o.odd_prime(N / 2) ? 1 : 0;
    const int32_t P = (static_cast<int32_t>(a[(N - 2) / 2]) + half_prime) / 2;
    const int32_t T = N % 4 == 0 ? N / 4 - 1 : N / 4;
    const int32_t Q = o.odd_primes_upto(N - 3);
    const int32_t C = T - Q + P - half_prime;  // T - P - M with M = Q - 2P + flag
    if (N <= 2000 || N % 99998 == 0) {
      ASSERT_EQ(C, o.composite_pairs(N)) << N;
    }
    const int32_t recorded = recorded_by_formula(N, C, o);
    if (recorded > best) best = recorded, best_N = N;
  }
  EXPECT_EQ(best, CompositeBuffer::kCapacity) << "at N = " << best_N;
  // The listing itself agrees at the maximum.
  static CompositeBuffer buf;
  mixed_pair_listing(best_N, Counts(built_tables()), buf, nullptr);
  EXPECT_EQ(buf.recorded, best);
  EXPECT_EQ(buf.fill, best);
}

}  // namespace
}  // namespace ntb
