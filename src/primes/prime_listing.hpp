// The engine of lista: from a first prime P1 (index i1) it finds `groups`
// groups of three consecutive primes, stepping by 2 and testing each
// candidate by trial division with the entries of y up to its square root,
// and hands out the rows of the listing: in mode 0 one row per group (three
// primes with their indexes), in modes 1 and 2 one row per pair of
// consecutive primes whose gap lies in g1..g2.
//
// The candidates never pass 2147483647: at the top of the range the listing
// ends with 2147483647 itself, and its last group holds only the primes that
// exist in 32 bits.
#pragma once

#include <cstdint>

#include "numtheory/interrupt.hpp"
#include "numtheory/tables.hpp"

namespace ntb {

// The largest prime not above n (n odd, at least 13; 13 is prime), found by
// decomposing n, n - 2, ... with primefac.
int32_t largest_prime_by_primefac(int32_t n);

// cur is prime when no entry y(1..findp(trunc(sqrt(cur)))) divides it;
// entries below 2 divide nothing (a 0 or a 1 typed into the table would
// otherwise divide by zero or leave no prime at all).
bool is_prime_by_y(int32_t cur, const Tables& t);

// The next candidate cur + 2, cur + 4, ... that is prime; false when none is
// left below 2^31.
bool next_prime_by_y(int32_t& cur, const Tables& t);

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

// Calls emit(row) for each row in order; emit returns false to stop.
template <class Emit>
void lista_rows(const Tables& t, const ListaPlan& plan, Emit&& emit) {
  const int32_t lo = plan.g1, hi = plan.mode == 1 ? plan.g1 : plan.g2;
  // Indexes run in 64 bits and are shown held inside 32 (only a strangely
  // edited table could take them out).
  auto shown = [](int64_t v) {
    return static_cast<int32_t>(v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : v);
  };
  int32_t cur = plan.p1 - 2;
  int64_t idx = int64_t{plan.i1} - 1;
  bool have_prev = false;
  int32_t prev = 0;
  for (int32_t g = 0; g < plan.groups; ++g) {
    interruption_point();
    int32_t q[3];
    int32_t found = 0;
    while (found < 3 && next_prime_by_y(cur, t)) {
      q[found++] = cur;
      ++idx;
    }
    if (found == 0) return;
    const int64_t first = idx - found + 1;  // index of q[0]
    if (plan.mode == 0) {
      ListaRow row;
      row.n = found;
      for (int32_t i = 0; i < found; ++i) {
        row.idx[i] = shown(first + i);
        row.val[i] = q[i];
      }
      if (!emit(row)) return;
    } else {
      // (prev, q1), (q1, q2), (q2, q3), the first only after a group.
      for (int32_t i = have_prev ? -1 : 0; i + 1 < found; ++i) {
        const int32_t a = i < 0 ? prev : q[i], b = q[i + 1];
        const int32_t gap = b - a;
        if (gap < lo || gap > hi) continue;
        ListaRow row;
        row.n = 2;
        row.idx[0] = shown(first + i);
        row.val[0] = a;
        row.idx[1] = shown(first + i + 1);
        row.val[1] = b;
        row.gap = gap;
        if (!emit(row)) return;
      }
      prev = q[found - 1];
      have_prev = true;
    }
    if (found < 3) return;  // no prime left in 32 bits
  }
}

}  // namespace ntb
