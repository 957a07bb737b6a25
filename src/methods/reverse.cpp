// The reverse-method command: the dialogue, one report row per combination,
// the set line of each prime up to sqrt(N), the final report, and, when run
// from the triplets submenu, the storage of the run's rows for the triplet
// elaboration.
//
// Any N up to 2147483647 runs to its end: rows past the 15000 of the row
// store are counted, printed and totalled but not stored, and the check
// against a search in y is left out above kTableExtent, where y ends.  From the
// triplets submenu N is asked again while above kTripletTop, so the stored
// runs (14674 rows for N = kTripletTop) always fit the vectors.
#include <array>
#include <cmath>

#include "methods/commands.hpp"
#include "methods/engine/reverse_rows.hpp"
#include "methods/engine/triplet_data.hpp"
#include "methods/report_text.hpp"
#include "numtheory/count/free_of_2357.hpp"
#include "numtheory/int_math.hpp"
#include "numtheory/tables/tables.hpp"

namespace ntb {

namespace {

// The row store of the last run: column 4 and the combination of each row,
// 1-based; after the rows, the run's prime count.
TripVector rowval, rowcomb;

constexpr std::string_view kRowLayout = "(1I9,1F12.3,1I8,1F10.0,1F10.0,1I10)";
constexpr std::string_view kSetLayout = "(A6,1F10.0,A20,1I10,A3,2I10)";
constexpr std::string_view kPrintAsk = "Print all data enter 0 part of data enter 1";

void write_legend(Io& io) {
  static const std::string lines[] = {
      pad("column 1 = sequential number of calculations for each block", 97),
      pad("column 2 = result of succesive division;k1,k2,k3 etc", 79),
      pad("column 3 = prime relevamt to the block under calculation;y(aa),y(bb)...", 78),
      pad("column 4 = Phi(N) of N/combination - Phi(N) of one primes before last", 80),
      pad("column 5 = sequential total of column 4", 80),
      pad("column 6 = Combinations obtained by succesive divisions", 96),
      "NOTE:N/K1,K2..  may be called combimations,the elements are primes" + repeated(' ', 11) +
          "\t",
      pad("NOTE:each prime up to sqrt of N is elaborated,when complete its set", 80),
      pad("\t\tand subtotals are printed", 77),
  };
  static const std::string heading =
      pad("      1        2         3         4         5          6", 75);
  static const std::string underline = repeated('_', 56) + repeated(' ', 12);
  for (const auto& l : lines) io.log("(1X,A75)", {l});
  io.log("(1X,A60)", {heading});
  io.log("(1X,A60)", {underline});
}

// Turns the engine's rows and sets into report records and fills the row
// store.
class Report final : public ReverseVisitor {
 public:
  Report(Io& io, int32_t choice, TripletData& td) : io_(io), choice_(choice), td_(td) {}

  bool row(const ReverseRow& r) override {
    td_.rowcount = r.row;
    if (r.row <= kTripRows) {
      rowval[r.row] = r.value;
      rowcomb[r.row] = r.comb;
    }
    if (choice_ != 0) return true;
    // std::round takes halves away from zero.
    const int32_t comb = saturate32(std::round(r.comb));
    const double value = r.value;
    io_.both(kRowLayout, {r.row, r.k, r.prime, value, r.s1, comb});
    if (r.tail == RowTail::Dashes) {
      static const std::string dashes = pad("--------------------------", 39);
      io_.both("(1X,A45)", {dashes});
    }
    if (r.tail != RowTail::None) io_.pagestop(r.row, quit_);
    return quit_ == 0;
  }

  void set_done(int32_t aa, int32_t prime, int32_t subtotal, int32_t rows) override {
    const double index = aa;
    io_.scr(kSetLayout, {"set N", index, " relevant to prine ", prime, " = ", subtotal, rows});
    io_.log(kSetLayout, {"set N", index, " relevant to prime ", prime, " = ", subtotal, rows});
    io_.rule();
    io_.pause();
  }

 private:
  Io& io_;
  int32_t choice_;
  TripletData& td_;
  int32_t quit_ = 0;
};

void store_run(Session& s, TripletData& td, int32_t n) {
  const int32_t rows = td.rowcount;
  if (s.store1 == 1) {
    td.a1 = rowval;
    td.comb1 = rowcomb;
    td.cnt1 = rows;
    td.N1 = n;
  } else if (s.store2 == 1) {
    td.a2 = rowval;
    td.comb2 = rowcomb;
    td.cnt2 = rows;
    td.N2 = n;
    // The elaboration finds the row count of N2 again after the prime count.
    if (rows + 2 <= kTripRows) td.a2[rows + 2] = rows;
  } else if (s.store3 == 1) {
    td.a3 = rowval;
    td.comb3 = rowcomb;
    td.cnt3 = rows;
    td.N3 = n;
  }
}

}  // namespace

void reverse(Session& s) {
  static TripletData spare;  // for a session that keeps no triplet data
  TripletData& td = s.trip != nullptr ? *s.trip : spare;
  Io& io = s.io;

  io.lst({"calculate Phi(N) with reverse method"});
  io.log("(1X,A45)", {"calculate Phi(N) with reverse method for N ="});
  int32_t n = io.asknum();
  while (s.tripmode == 1 && n > kTripletTop) n = io.asknum();
  const double N = n;
  io.log("(4F10.0)", {N});
  io.lst({kPrintAsk});
  io.log("(1X,A75)", {kPrintAsk});
  const int32_t choice = io.asknum();
  io.log("(8I7)", {choice});
  td.rowcount = 0;
  io.pause();

  rowval.fill(0);
  rowcomb.fill(0);
  static const std::string opening = repeated('_', 11) + repeated(' ', 23);
  io.log("(1X,A40,2F11.0)", {opening});
  if (choice == 0) write_legend(io);

  Report report(io, choice, td);
  const ReverseResult res = reverse_rows(N, s.t, report);
  if (!res.completed) return;  // q at a page stop: no report, nothing stored

  // The candidates are the integers 2..N: N - 1 of them, none for N = 0.
  const double primes = res.primes_upto(N);
  if (s.no2357 == 0) {
    static const std::string final_data = "final data for this number\t\t\t\t" + repeated(' ', 9);
    static const std::string total = pad("total of column 5 or total of sets =", 44);
    static const std::string primes_to = pad("primes to", 44);
    io.scr("(1X,A40,2F11.0)", {"total =  ", res.s1});
    io.log("(1X,A40,2F11.0)", {final_data});
    io.log("(1X,A40,2F11.0)", {total, res.s1});
    io.scr("(1X,A40,2F11.0)", {"primes to  ", N, primes});
    io.log("(1X,A40,2F11.0)", {primes_to, N, primes});
  }
  if (td.rowcount + 1 <= kTripRows) rowval[td.rowcount + 1] = primes;

  if (n <= kTableExtent) {
    // The check by one search in y, which ends at kTableExtent.
    int32_t b = n;
    findp(b, s.t);
    static const std::string binary = pad("with binary search", 40);
    io.lst({"with binary search ", b});
    io.log("(1X,A40,2F11.0)", {binary, static_cast<double>(b)});
  }
  static const std::string not_events =
      "NOT events(negative jumps)\t" + repeated(' ', 10) + "\t\t\t\t\t\t ";
  static const std::string yes_events =
      "YES events(positive jumps)conbi" + repeated(' ', 5) + "\t" + repeated(' ', 10) + "\t\t\t ";
  io.lst({"negative jumps", res.negative_jumps});
  io.log("(1X,A40,2F11.0)", {not_events, static_cast<double>(res.negative_jumps)});
  io.log("(A45,4I10)", {yes_events, td.rowcount});

  if (s.no2357 == 1) {
    // y starts at 11: the rows counted the composites free of 2, 3, 5 and 7.
    static const std::string reduce_scr = pad("reduce of N -s1-1+4 (primes to N)=", 62);
    static const std::string reduce_log = pad("reduce of N -s1-1+4(primes to N) =", 61);
    static const std::string z2_text = " z2(primes in vector to sqrt(N) =\t\t\t\t\t\t\t\t\t\t  ";
    static const std::string values = pad("N,reduced,s1,z2  =", 38);
    io.rule();
    const int32_t reduced = free_of_2357(n);
    const int32_t s1 = saturate32(res.s1);
    const int32_t count = saturate32(static_cast<int64_t>(reduced) - s1 + 3);
    io.scr("(A45,4I10)", {reduce_scr, count});
    io.log("(A45,4I10)", {reduce_log, count});
    io.log("(A45,4I10)", {z2_text, res.z2});
    io.log("(A45,4I10)", {values, n, reduced, s1, res.z2});
    io.rule();
  }

  if (s.tripmode == 0) {
    io.rule();
    return;
  }
  static const std::string end = pad("end reverse method", 46);
  io.log("(1X,A45)", {end});
  io.rule();
  store_run(s, td, n);
}

}  // namespace ntb
