// The engine of lista: from a first prime P1 (index i1) it finds `groups`
// groups of three consecutive primes, the odd numbers that trial division
// with the entries of y up to their square root leaves (found by a sieve of
// the same test), and hands out the rows of the listing: in mode 0 one row
// per group (three primes with their indexes), in modes 1 and 2 one row per
// pair of consecutive primes whose gap lies in g1..g2.
//
// The candidates never pass 2147483647: at the top of the range the listing
// ends with 2147483647 itself, and its last group holds only the primes that
// exist in 32 bits.
//
// On the table as built the test passes exactly the primes (y holds every
// prime up to the square root of 2147483647), so the walk takes them a block
// at a time from PrimeRange, the fastest exact way; on an edited table the
// trial sieve gives exactly what trial division by the entries leaves.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>

#include "numtheory/int_math.hpp"
#include "numtheory/interrupt.hpp"
#include "numtheory/sieve/prime_range.hpp"
#include "numtheory/tables/tables.hpp"
#include "numtheory/sieve/trial_sieve.hpp"

namespace ntb {

// The inputs lista takes: a mode 0, 1 or 2, and an odd first number from 13
// up (the listing starts at the largest prime not above it).
inline constexpr int32_t kListaFirstLeast = 13;
inline bool lista_mode_ok(int32_t mode) {
  return mode >= 0 && mode <= 2;
}
inline bool lista_first_ok(int32_t n1) {
  return n1 >= kListaFirstLeast && n1 % 2 != 0;
}

// The largest prime not above n (n odd, at least 13; 13 is prime), found by
// decomposing n, n - 2, ... with primefac.
int32_t largest_prime_by_primefac(int32_t n);

// cur is prime when no entry y(1..findp(trunc(sqrt(cur)))) divides it;
// entries below 2 divide nothing (a 0 or a 1 typed into the table would
// otherwise divide by zero or leave no prime at all).
bool is_prime_by_y(int32_t cur, const Tables& t);

// The sieve that steps lista from prime to prime: the candidates that pass
// is_prime_by_y, a window at a time.
TrialSieve& lista_steps();

// Calls visit(block) for the primes after n (n >= 0) up to 2147483647, a
// block at a time, while visit returns true.  A Ctrl-C stops the walk
// between blocks.
template <class Visit>
void each_prime_block_after(int32_t n, Visit&& visit) {
  PrimeRange primes(static_cast<uint64_t>(n) + 1, 2147483647);
  for (auto block = primes.next(); !block.empty(); block = primes.next()) {
    interruption_point();
    if (!visit(block)) return;
  }
}

// Whether any of the sixteen gaps q[k] - q[k - 1], 0 <= k < 16, of
// ascending primes is at least low (1 <= low): four gaps per instruction.
inline bool any_gap_from(const uint32_t* q, int32_t low) {
  using Gaps = uint32_t __attribute__((vector_size(16)));
  using Signed = int32_t __attribute__((vector_size(16)));
  Signed any = {0, 0, 0, 0};
  for (int k = 0; k < 16; k += 4) {
    Gaps a, b;
    std::memcpy(&a, q + k, sizeof a);
    std::memcpy(&b, q + k - 1, sizeof b);
    any |= reinterpret_cast<Signed>(a - b) >= low;  // gaps stay below 2^31
  }
  return (any[0] | any[1] | any[2] | any[3]) != 0;
}

struct ListaPlan {
  int32_t mode = 0;        // 0 primes, 1 one gap, 2 an interval of gaps
  int32_t g1 = 0, g2 = 0;  // gaps (mode 1: g2 is taken equal to g1)
  int32_t p1 = 13;         // the first prime
  int32_t i1 = 6;          // its index
  int32_t groups = 0;      // groups of three primes to find
};

// One row of the listing: n numbered primes (1 to 3 in mode 0; 2 in modes 1
// and 2, followed by their gap).
struct ListaRow {
  int32_t n = 0;
  int32_t idx[3] = {};
  int32_t val[3] = {};
  int32_t gap = 0;  // modes 1 and 2
};

// Calls emit(row) for each row in order; emit returns false to stop.  A
// Ctrl-C stops the listing before its next row (and between sieve segments).
// The primes are P1 and the candidates after it that pass is_prime_by_y,
// 3 * groups of them (fewer when 2147483647 is reached first).  Modes 1 and
// 2 test every pair of consecutive primes from P1 on: within a group and
// from the last prime of one group to the first of the next.
template <class Emit>
void lista_rows(const Tables& t, const ListaPlan& plan, Emit&& emit) {
  if (plan.groups <= 0) return;
  const int32_t lo = plan.g1, hi = plan.mode == 1 ? plan.g1 : plan.g2;
  // Indexes run in 64 bits and are shown held inside 32 (only a strangely
  // edited table could take them out).
  const int64_t wanted = 3 * int64_t{plan.groups};
  int64_t taken = 0;      // primes found so far
  int64_t idx = plan.i1;  // index of the next prime
  bool stopped = false;

  if (plan.mode == 0) {
    ListaRow row;
    auto flush = [&] {
      if (row.n > 0) interruption_point();
      if (row.n > 0 && !emit(row)) stopped = true;
      row.n = 0;
      return !stopped;
    };
    auto take = [&](int32_t c) {
      row.idx[row.n] = saturate32(idx++);
      row.val[row.n++] = c;
      if (row.n == 3 && !flush()) return false;
      return ++taken < wanted;
    };
    if (t.y_pristine) {
      each_prime_block_after(plan.p1 - 2, [&](std::span<const uint32_t> block) {
        for (uint32_t c : block)
          if (!take(static_cast<int32_t>(c))) return false;
        return true;
      });
    } else {
      lista_steps().each_after(plan.p1 - 2, t, take);
    }
    if (!stopped) flush();  // a group cut short by the top of the range
    return;
  }
  int32_t prev = 0;
  // The row of the pair from prev (index idx - 1) to the prime c (index idx).
  auto emit_pair = [&](int32_t c) {
    ListaRow row;
    row.n = 2;
    row.idx[0] = saturate32(idx - 1);
    row.val[0] = prev;
    row.idx[1] = saturate32(idx);
    row.val[1] = c;
    row.gap = c - prev;
    interruption_point();
    return emit(row);
  };
  if (t.y_pristine) {
    // A block at a time: a scan for the next gap in lo..hi, the primes
    // between taken in bulk.  A gap d lies in lo..hi when d - low <= width
    // in unsigned arithmetic (gaps run from 1 to 2^31 - 1).
    const int64_t low = std::max<int64_t>(lo, 1), high = std::min<int64_t>(hi, INT32_MAX);
    const bool none = high < low;
    const auto width = static_cast<uint32_t>(high - low), base = static_cast<uint32_t>(low);
    auto in_range = [&](uint32_t a, uint32_t b) { return b - a - base <= width; };
    each_prime_block_after(plan.p1 - 2, [&](std::span<const uint32_t> block) {
      const uint32_t* p = block.data();
      const size_t m = static_cast<size_t>(std::min<int64_t>(wanted - taken, block.size()));
      size_t i = 0;
      if (taken == 0) prev = static_cast<int32_t>(p[0]), ++idx, ++taken, i = 1;
      while (i < m) {
        size_t j = i;
        if (none) {
          j = m;
        } else if (!in_range(static_cast<uint32_t>(prev), p[j])) {
          for (++j; j + 16 <= m && !any_gap_from(p + j, static_cast<int32_t>(low));) j += 16;
          while (j < m && !in_range(p[j - 1], p[j])) ++j;
        }
        idx += static_cast<int64_t>(j - i);  // the primes passed over
        taken += static_cast<int64_t>(j - i);
        if (j == m) {
          prev = static_cast<int32_t>(p[m - 1]);
          break;
        }
        if (j > i) prev = static_cast<int32_t>(p[j - 1]);
        if (!emit_pair(static_cast<int32_t>(p[j]))) return false;
        prev = static_cast<int32_t>(p[j]);
        ++idx, ++taken, i = j + 1;
      }
      return taken < wanted;
    });
    return;
  }
  if (lo > 126) {
    // Two passing numbers in one word of the sieve are at most 126 apart:
    // only the pairs across words can qualify, so a word is taken whole,
    // its first and last numbers and how many it holds.
    lista_steps().each_word_after(plan.p1 - 2, t, [&](int64_t base, uint64_t z) {
      if (__builtin_popcountll(z) > wanted - taken) {  // keep the ones still wanted
        uint64_t keep = 0;
        for (int64_t k = wanted - taken; k > 0; --k) {
          keep |= z & (~z + 1);
          z &= z - 1;
        }
        z = keep;
      }
      const auto first = static_cast<int32_t>(base + 2 * __builtin_ctzll(z));
      if (taken > 0 && first - prev >= lo && first - prev <= hi && !emit_pair(first)) return false;
      const int32_t n = __builtin_popcountll(z);
      idx += n;
      taken += n;
      prev = static_cast<int32_t>(base + 2 * (63 - __builtin_clzll(z)));
      return taken < wanted;
    });
    return;
  }
  lista_steps().each_after(plan.p1 - 2, t, [&](int32_t c) {
    if (taken > 0 && c - prev >= lo && c - prev <= hi && !emit_pair(c)) return false;
    prev = c;
    ++idx;
    return ++taken < wanted;
  });
}

}  // namespace ntb
