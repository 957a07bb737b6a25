// Goldbach entries 5 and 6: the number of pairs of odd primes p <= q with
// p + q <= N, that is the total of the prime-pair counts of the even
// numbers from 6 to N, by the reverse method.  gold frames each pair as the
// number 2pq (8 divisors, 6 when p = q), gold1 as pq (4 divisors, 3 when
// p = q).  Both show the count for every scanned prime, a table of how many
// numbers have d divisors, the total, and for N up to 2000 on request the
// numbers one by one, then as stored and sorted.
#include <algorithm>
#include <array>
#include <string>

#include "goldbach/commands.hpp"
#include "goldbach/engine/engines.hpp"
#include "goldbach/report.hpp"
#include "numtheory/factor/factor.hpp"
#include "numtheory/int_math.hpp"

namespace ntb {

namespace {

constexpr int32_t kColumn = 40000;  // stored numbers and sums
constexpr int32_t kLimit8 = 2000;   // gold stores at most this many 8-divisor numbers

// The routine-level storage of each of the two commands.
struct GoldWork {
  std::array<int32_t, kColumn + 1> number{};  // 1-based
  std::array<int32_t, kColumn + 1> sum{};
  std::array<double, 9> table{};  // [d]: numbers with d divisors, 1-based
  void clear() {
    number.fill(0);
    sum.fill(0);
    table.fill(0);
  }
};

// The scan of one run: what every scanned prime adds to the report, the
// table and the columns.
struct Scan {
  Io& io;
  GoldWork& w;
  const Counts& c;
  int32_t N;
  bool listing;       // the print-all answer was 1
  const char* f3;     // the layout of the counts
  bool twice;         // gold (2pq, 2p^2) rather than gold1 (pq, p^2)
  double total = 0;   // the running total of the counts
  double serial = 0;  // entries numbered so far
  int32_t pager = 0;  // the pager count, kept through the scan and both lists
  int32_t quit = 0;

  // The records of a scanned prime and its share of the divisor table:
  // count - 1 numbers with two distinct primes, one square.  False when
  // the count is 0 and the scan ends here.
  bool count(const ReverseStep& st) {
    io.both("(A80)", {pad("number of primes satisfing condition x+y for pairs", 83)});
    io.both(f3, {st.count});
    if (st.count <= 0) return false;
    total = st.total;
    if (twice) io.lst({total});
    w.table[twice ? 8 : 4] += st.count - 1;
    w.table[twice ? 6 : 3] += 1;
    if (st.count > 1) io.both("(A80)", {pad("scanning each prime forming combinations", 63)});
    return true;
  }

  // Stores one number with its sum while the columns have room.
  void store(int64_t number, int64_t sum) {
    if (serial > kColumn) return;
    const auto i = static_cast<int32_t>(serial);
    w.number[i] = saturate32(number);
    w.sum[i] = saturate32(sum);
    io.both("(1F13.0,2I10)", {serial, w.number[i], w.sum[i]});
  }

  // Two lines more on the pager; false when the user quit there.
  bool page() {
    pager += 2;
    io.pagestop(pager, quit);
    return quit == 0;
  }
};

// gold's entries for p: f*p*q (8 divisors) for each partner q above p,
// listed while fewer than 2000 entries are numbered, then f*p^2 (6
// divisors), numbered even when not listed.  False when the user quit.
bool gold_entries(Scan& sc, const ReverseStep& st, int32_t f) {
  const int64_t p = st.p;
  for (int32_t k = st.j + 1; sc.listing && k <= st.k && sc.serial < kLimit8; ++k) {
    sc.serial += 1;
    const int32_t q = sc.c.y(k);
    sc.store(f * p * q, p + q);
    sc.io.both("(I7,A1,F3.0,A1,I7,A1,I7,A1,I7,A2)", {f, "^", 1.0, "*", st.p, "^", 1, "*", q, "^1"});
    if (!sc.page()) return false;
  }
  if (2 * p > sc.N) return true;
  sc.serial += 1;
  if (!sc.listing) return true;
  sc.store(f * p * p, 2 * p);
  sc.io.both("(I7,A1,F3.0,A1,I7,A1,I7,:)", {f, "^", 1.0, "*", st.p, "^", 2});
  return sc.page();
}

// gold1's entries for p: p*q (4 divisors) for each partner q above p, then
// p^2 (3 divisors, no pager stop); every one numbered.  False when the user
// quit.
bool gold1_entries(Scan& sc, const ReverseStep& st) {
  const int64_t p = st.p;
  if (!sc.listing) sc.serial += st.count - 1;
  for (int32_t k = st.j + 1; sc.listing && k <= st.k; ++k) {
    sc.serial += 1;
    const int32_t q = sc.c.y(k);
    sc.store(p * q, p + q);
    sc.io.both("(I7,A1,F3.0,A2,I7,A2,:)", {st.p, "^", 1.0, " *", q, "^1"});
    if (!sc.page()) return false;
  }
  if (2 * p > sc.N) return true;
  sc.serial += 1;
  if (!sc.listing) return true;
  sc.store(p * p, 2 * p);
  sc.io.both("(I7,A1,F3.0,:)", {st.p, "^", 2.0});
  return true;
}

// gold's walk over the odd primes: K = 2*p1*p2, the fixed factor f = y(1).
bool gold_walk(Scan& sc, const CentralPrimes& cp) {
  const int32_t f = sc.c.y(1);  // 2 while y holds it
  const ReverseVisit step = [&](const ReverseStep& st) {
    return !sc.count(st) || gold_entries(sc, st, f);
  };
  reverse_pair_scan(ReverseForm::Twice, sc.N, cp.K, sc.c, &step);
  return sc.quit == 0;
}

// gold1's walk: K = p1*p2, no fixed factor.
bool gold1_walk(Scan& sc, const CentralPrimes& cp) {
  const ReverseVisit step = [&](const ReverseStep& st) {
    return !sc.count(st) || gold1_entries(sc, st);
  };
  reverse_pair_scan(ReverseForm::Plain, sc.N, cp.K, sc.c, &step);
  return sc.quit == 0;
}

// One pass: false when the user quit at a pager stop.
bool reverse_method(Session& s, bool twice, GoldWork& w) {
  Io& io = s.io;
  const ReverseForm form = twice ? ReverseForm::Twice : ReverseForm::Plain;
  const char* const f3 = twice ? "(3F13.0)" : "(3F15.0)";
  const std::string sep(1, ACHAR(124));

  w.clear();
  io.both("(A80)", {"find total number of prime pairs from 6 to N with reverse method"});
  io.both("(A80)", {pad("enter the even number <=160000", 63)});
  int32_t N = 0;
  do io.asknum(N);
  while (!accepted_even(N));
  const double Nr = N;
  io.both(f3, {Nr});
  int32_t print_all = 0;
  if (N < 2001) {
    io.lst({"enter 1 to print all data  otherwise  enter 0"});
    io.asknum(print_all);
  }

  const Counts c(s.t, N);
  const CentralPrimes cp = central_primes(form, N, c);
  io.both("(A80)", {pad("The central primes of N are", 60)});
  io.both(f3, {cp.p1, cp.p2});
  io.both("(A45,1F15.0)", {twice ? "the set of numbers with 6 and 8 divisors of "
                                 : "the set of numbers with 3 and 4 divisors of ",
                           cp.K});
  io.both("(A45,1F15.0)", {"contains the set of pairs of prime of       ", Nr});
  io.pause();

  w.clear();
  Scan sc{io, w, c, N, print_all == 1, f3, twice};
  if (!(twice ? gold_walk(sc, cp) : gold1_walk(sc, cp))) return false;
  const double total = sc.total, serial = sc.serial;
  const bool listing = sc.listing;
  int32_t& pager = sc.pager;
  int32_t& quit = sc.quit;

  io.lst({"         V E C T O R    R E A D Y"});
  io.pause();
  io.log("(A3,F13.0)", {"   ", Nr});
  if (twice) {
    io.lst({"there are ", cp.primes_to_n, " prime numbers"});
  } else {
    io.lst({"there are ", static_cast<int32_t>(cp.primes_to_n), " prime numbers"});
  }
  io.pause();
  w.table[1] = 1;
  w.table[2] = cp.primes_to_n;
  const int32_t size = twice ? 8 : 4;
  int32_t last = size;
  while (last > 1 && w.table[last] == 0) --last;
  for (int32_t d = 1; d <= last; d += 4) {
    const auto& t = w.table;
    if (twice) {
      io.both("(A1,I5,A1,I10,A2,I5,A1,I10,A2,I5,A1,I10,A2,I5,A1,I10,:)",
              {" ", d, " ", WholeField(t[d], 10), sep, d + 1, " ", WholeField(t[d + 1], 10), sep,
               d + 2, " ", WholeField(t[d + 2], 10), sep, d + 3, " ", WholeField(t[d + 3], 10)});
    } else {
      io.both("(A1,I5,A1,F14.0,A2,I5,A1,F14.0,A2,I5,A1,F14.0,A2,I5,A1,F14.0,:)",
              {" ", d, " ", t[d], sep, d + 1, " ", t[d + 1], sep, d + 2, " ", t[d + 2], sep, d + 3,
               " ", t[d + 3]});
    }
    if ((d + 3) % 72 == 0) io.pause();
  }
  io.both("(A80)",
          {twice ? "the sum of selected numbers with 6 and 8 divisors = the total pairs of "
                   "primes "
                 : "the sum of selected numbers with 3 and 4 divisors = the total pairs of "
                   "primes "});
  io.both("(A15)", {"from 6 to N"});
  io.both(f3, {twice ? total : w.table[3] + w.table[4]});
  io.pause();

  if (listing) {
    if (!twice) io.pause();
    const int32_t rows = static_cast<int32_t>(std::min<double>(serial, kColumn));
    auto list = [&](bool sorted_sums, double& sum_n, double& sum_s) {
      for (int32_t i = 1; i <= rows; ++i) {
        io.lst({i, w.number[i], w.sum[i]});
        pager += 1;
        io.pagestop(pager, quit);
        if (quit) return false;
        io.log("(3I10)", {i, w.number[i], w.sum[i]});
        if (sorted_sums) {
          sum_n += w.number[i];
          sum_s += w.sum[i];
        }
      }
      return true;
    };
    double sum_n = 0, sum_s = 0;
    io.both("(A80)", {pad("Not ordered list", 63)});
    if (!list(false, sum_n, sum_s)) return false;
    io.rule();
    std::sort(w.number.begin() + 1, w.number.begin() + 1 + rows);
    std::sort(w.sum.begin() + 1, w.sum.begin() + 1 + rows);
    io.log("(A80)", {pad(" ordered list", twice ? 60 : 65)});
    io.scr("(A80)", {pad(" ordered list", twice ? 60 : 64)});
    if (!list(true, sum_n, sum_s)) return false;
    if (twice) io.both("(3F13.0)", {sum_n, sum_s});
    io.pause();
  }
  w.clear();
  if (twice) io.pause();
  return true;
}

}  // namespace

void gold(Session& s) {
  static GoldWork w;
  reverse_method(s, true, w);
  w.clear();
  s.io.rule();
}

void gold1(Session& s) {
  static GoldWork w;
  reverse_method(s, false, w);
  w.clear();
  s.io.rule();
}

}  // namespace ntb
