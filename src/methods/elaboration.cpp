// The triplet elaboration: compares the reverse-method runs of N1 <= N2 < N3
// stored by the triplets submenu.  The values of N1 and N2 are lined up
// against the combinations of N3 and three tables follow: table A (values
// of N1, of N2, their sum, the value of N3, the difference: when N3 = N1 +
// N2 the differences and 1 sum to 0), the combinations of the three numbers
// in run order with the blocks led by 2, 3 and 5, and the combinations in
// ascending order.  At its end the stored vectors are cleared.
//
// The line number is the triplet data's row counter: it starts from the
// most recent run's row count and is left at the last line printed.  A q
// at any page stop leaves at once for the main menu, clearing nothing.
#include <cstdint>

#include "methods/commands.hpp"
#include "methods/engine/triplet_data.hpp"
#include "methods/engine/triplet_steps.hpp"
#include "methods/report_text.hpp"
#include "numtheory/int_math.hpp"

namespace ntb {

namespace {

constexpr std::string_view kTableA = "(2F6.0,A2,1F6.0,A2,1F6.0,A2,1F6.0,A2,1F6.0)";

const std::string& column_heading() {
  static const std::string s = pad("       1        2         3         4", 67);
  return s;
}
const std::string& column_underline() {
  static const std::string s = repeated('_', 56) + repeated(' ', 12);
  return s;
}

// The sums of the combinations, each truncated to a whole number as it grows.
struct Sums {
  int64_t s[3] = {0, 0, 0};
  void add(double c1, double c2, double c3) {
    s[0] = static_cast<int64_t>(s[0] + c1);
    s[1] = static_cast<int64_t>(s[1] + c2);
    s[2] = static_cast<int64_t>(s[2] + c3);
  }
};

// Rows 1..lines of the three combination vectors on both channels, paged,
// with their sums; false when the user quit at a page stop.
bool combination_rows(Io& io, TripletData& td, int32_t lines, Sums& sums) {
  int32_t quit = 0;
  for (int32_t i = 1; i <= lines; ++i) {
    td.rowcount = i;
    const double row = i, c1 = td.comb1[i], c2 = td.comb2[i], c3 = td.comb3[i];
    io.both("(4F10.0)", {row, c1, c2, c3});
    io.pagestop(td.rowcount, quit);
    if (quit != 0) return false;
    sums.add(c1, c2, c3);
  }
  return true;
}

void write_sums(Io& io, const Sums& sums, size_t log_length) {
  const std::string text = pad("sums of combinations", log_length);
  io.lst({"sums of combinations"});
  io.log("(1X,A40,2F11.0)", {text});
  // The combinations of N = kTripletTop sum to 372720414; held at the 32-bit
  // bounds all the same.
  const int32_t a = saturate32(sums.s[0]), b = saturate32(sums.s[1]), c = saturate32(sums.s[2]);
  io.lst({a, b, c});
  io.log("(8I7)", {a, b, c});
}

// Table A; false when the user quit.
bool table_a(Io& io, TripletData& td, int32_t lines) {
  static const std::string legend[] = {
      pad("column 1 = combinations of N3,this set contains combinations of M2 and N1", 77),
      pad("column 2 = values for N1 and relevant to combination in the same line", 77),
      pad("column 3 = values for N2 and relevant to combination in the same line", 77),
      pad("column 4 = sum of the values of colimns 2 and 3 in rhe same line", 77),
      pad("column 5 = values for N3 and relevant to combination in the same line", 77),
      "column 6 =           difference betwen columns 4 and 5" + repeated(' ', 17) + "\t\t",
      pad("NOTE:if N3=N1+N2 the sum for column 6 must be 0 if we add 1 to all 3 members", 78),
  };
  static const std::string numbers_entered = pad("the 3 numbers entered are", 41);
  static const std::string printing = pad(" printing table A", 27);
  static const std::string underline = repeated('_', 41);
  static const std::string heading = pad("1     2       3       4       5      6", 41);
  static const std::string sum_text = pad("sum of last column+1 =", 41);
  static const std::string count_text = pad("number of combinations of N1,N2,N3", 40);
  static const std::string end = pad("end printing table A", 30);

  io.scr("(8I7)", {td.N1, td.N2, td.N3});
  io.log("(1X,A45)", {numbers_entered});
  io.log("(8I7)", {td.N1, td.N2, td.N3});
  for (const auto& l : legend) io.log("(1X,A75)", {l});
  io.log("(1X,A45)", {printing});
  io.log("(1X,A45)", {underline});
  io.log("(1X,A45)", {heading});
  io.log("(1X,A45)", {underline});

  double table_sum = 0;
  int32_t quit = 0;
  for (int32_t i = 1; i <= lines; ++i) {
    td.rowcount = i;
    const double c = td.comb3[i], v1 = td.a1[i], v2 = td.a2[i], v3 = td.a3[i];
    io.both(kTableA, {c, v1, " +", v2, " =", v1 + v2, " -", v3, " =", v1 + v2 - v3});
    io.pagestop(td.rowcount, quit);
    if (quit != 0) return false;
    table_sum += v2 + v1 - v3;
  }
  io.lst({"sum of last column+1 = ", table_sum + 1});
  io.log("(1X,A40,2F11.0)", {sum_text, table_sum + 1});
  io.lst({"number of combinations of N1,N2,N3  ", td.cnt1, td.cnt2, td.cnt3});
  io.log("(A45,4I10)", {count_text, td.cnt1, td.cnt2, td.cnt3});
  io.pause();
  io.pause();
  io.log("(1X,A45)", {end});
  io.rule();
  return true;
}

// The combinations in run order; false when the user quit.
bool run_order(Io& io, TripletData& td, int32_t lines) {
  static const std::string legend[] = {
      pad("column 1 = sequential number of combination", 79),
      pad("column 2 = combinations of 1st number" + repeated('\t', 5), 78),
      pad("column 3 = combinations of 2nd number\t" + repeated(' ', 12) + "\t\t\t\t", 78),
      pad("column 4 = combinations of 3rd number" + repeated('\t', 7), 77),
      pad("NOTE:the combinations are obtained by N/K1,K2,K3..", 79),
      pad("they are the combinations of primes+operation of multiplication and/or power", 111),
  };
  static const std::string title = pad("combinations for 3 numbers", 36);
  static const std::string count_text = pad("number of combinations for the 3 numbers", 74);
  static const std::string per_prime[] = {
      pad("number of combinations for the 3 numbers for the prime 2", 84),
      pad("number of combinations for the 3 numbers for the prime 3", 84),
      pad("number of combinations for the 3 numbers for the prime 5", 84),
  };

  io.lst({"combinations for 3 numbers"});
  io.log("(1X,A40,2F11.0)", {title});
  io.log("(8I7)", {td.N1, td.N2, td.N3});
  for (const auto& l : legend) io.log("(1X,A75)", {l});
  io.log("(1X,A60)", {column_heading()});
  io.log("(1X,A60)", {column_underline()});

  Sums sums;
  if (!combination_rows(io, td, lines, sums)) return false;
  write_sums(io, sums, 37);

  const int32_t n1 = leading_nonzero(td.comb1), n2 = leading_nonzero(td.comb2);
  io.lst({n1, n2, lines - 1});
  io.log("(1X,A75)", {count_text});
  io.log("(8I7)", {n1, n2, lines - 1});

  const PrimeBlocks b1 = prime_blocks(td.comb1), b2 = prime_blocks(td.comb2),
                    b3 = prime_blocks(td.comb3);
  io.lst({b1.two, b2.two, b3.two});
  io.log("(1X,A75)", {per_prime[0]});
  io.log("(8I7)", {b1.two, b2.two, b3.two});
  io.log("(1X,A75)", {per_prime[1]});
  io.log("(8I7)", {b1.three, b2.three, b3.three});
  io.log("(1X,A75)", {per_prime[2]});
  io.log("(8I7)", {b1.five, b2.five, b3.five});
  io.pause();
  io.rule();
  return true;
}

// The combinations in ascending order; false when the user quit.
bool ordered(Io& io, TripletData& td) {
  static const std::string title = pad("ordered combinations of numbers", 44);
  static const std::string end = pad("end printing combinations for the 3 numbers", 53);
  static const std::string equals = repeated('=', 54);

  sort_nonzero_first(td.comb1);
  sort_nonzero_first(td.comb2);
  sort_nonzero_first(td.comb3);
  io.lst({"ordered combinations for 3 numbers"});
  io.log("(1X,A40,2F11.0)", {title});
  io.log("(8I7)", {td.N1, td.N2, td.N3});
  io.log("(1X,A60)", {column_heading()});
  io.log("(1X,A60)", {column_underline()});

  Sums sums;
  const int32_t lines = clamp_rows(td.cnt3);
  if (!combination_rows(io, td, lines, sums)) return false;
  write_sums(io, sums, 34);
  io.log("(1X,A45)", {end});
  io.log("(1X,A45)", {equals});
  io.pause();
  return true;
}

}  // namespace

bool elaborate_triplets(Session& s) {
  static TripletData spare;  // for a session that keeps no triplet data
  TripletData& td = s.trip != nullptr ? *s.trip : spare;
  Io& io = s.io;

  recover_cnt2(td);
  // One line past the last run's rows (its prime count), within the vectors.
  const int32_t lines = clamp_rows(static_cast<int64_t>(td.rowcount) + 1);
  round_combinations(td);
  align_to_n3(td.a1, td.comb1, td.cnt1, td.comb3, td.cnt3);
  align_to_n3(td.a2, td.comb2, td.cnt2, td.comb3, td.cnt3);

  if (!table_a(io, td, lines)) return true;
  if (!run_order(io, td, lines)) return true;
  if (!ordered(io, td)) return true;

  for (TripVector* v : {&td.a1, &td.a2, &td.a3, &td.comb1, &td.comb2, &td.comb3}) v->fill(0);
  return false;
}

}  // namespace ntb
