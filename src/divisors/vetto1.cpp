// vetto1, divisors-submenu entry 1: for a bound N, the number of integers up
// to N with each possible number of divisors (the vector), the number of
// primes up to N, and on request the integers with a chosen number of
// divisors d, each with its sum of divisors, Euler function and factors,
// followed by the same integers in ascending order.
//
// The counting and listing are the engines of divisor_vector.cpp and
// divisor_listing.cpp; this file holds the dialogue and the records.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "divisors/commands.hpp"
#include "divisors/engine/divisor_listing.hpp"
#include "divisors/engine/divisor_vector.hpp"
#include "numtheory/factor/factor.hpp"
#include "numtheory/int_math.hpp"

namespace ntb {

namespace {

constexpr int32_t kListMax = 2000;  // integers the listing shows at most

// Factor lines: for each level, the layout of an integer P*q and of P*p.
constexpr const char* kPqLayout[9] = {
    nullptr,
    "(I7,A1,F3.0,A2,I7,A2,:)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A2)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A2)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A2)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A2)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A2)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,"
    "F3.0,A1,I7,A2)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,"
    "F3.0,A1,I7,A1,F3.0,A1,I7,A2)",
};
constexpr const char* kPpLayout[9] = {
    nullptr,
    "(I7,A1,F3.0,:)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,:)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,"
    "F3.0)",
    "(I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,F3.0,A1,I7,A1,"
    "F3.0,A1,I7,A1,F3.0)",
};

// Beyond the eighth level (only a table edited to hold non-primes gets
// there) the layout is built the same way: L factors joined by A1, then
// the last prime for P*q.
const std::string& deep_layout(int L, bool pq) {
  static std::string s;
  s.assign("(I7,A1,F3.0");
  for (int i = 2; i <= L; ++i) s.append(",A1,I7,A1,F3.0");
  if (pq) s.append(",A1,I7,A2");
  s.push_back(')');
  return s;
}

// Integers of the current listing run: list[1..k].
std::array<int32_t, kListMax + 1> g_list;
DivisorVector g_vector;

class ListingPrinter final : public RowSink {
 public:
  explicit ListingPrinter(Io& io) : io_(io) { items_.reserve(4 * kMaxPrefixLevels + 4); }

  bool row(const ListedRow& r) override {
    g_list[r.k] = r.n;
    const std::string_view layout = "(' ',I7,'  ',I10,'   ',F12.0,'   ',I10)";
    io_.both(layout, {r.k, r.n, r.sigma, r.phi});
    factor_line(r);
    line += 2;
    io_.pagestop(line, quit);
    return quit == 0;
  }

  int32_t line = 0;  // line counter for pagestop
  int32_t quit = 0;

 private:
  // Each prime in I7, "^", its exponent in F3.0; "*" between factors; the
  // last prime of P*q ends with "^1" (before it " *" at level 1).
  void factor_line(const ListedRow& r) {
    items_.clear();
    for (int i = 1; i <= r.L; ++i) {
      if (i > 1) items_.emplace_back("*");
      items_.emplace_back(r.f[i]);
      items_.emplace_back("^");
      items_.emplace_back(static_cast<double>(r.e[i]));
    }
    if (r.q > 0) {
      items_.emplace_back(r.L == 1 ? " *" : "*");
      items_.emplace_back(r.q);
      items_.emplace_back("^1");
    }
    const std::string_view layout = r.L <= 8 ? (r.q > 0 ? kPqLayout[r.L] : kPpLayout[r.L])
                                             : std::string_view(deep_layout(r.L, r.q > 0));
    io_.both(layout, items_);
  }

  Io& io_;
  std::vector<Item> items_;
};

void clear_vector_and_list() {
  g_vector.clear();
  g_list.fill(0);
}

// The vector table: four divisor counts a line, "|" between them.
void vector_table(Io& io, int32_t maxd) {
  static const char sep[1] = {ACHAR(124)};
  const std::string_view bar(sep, 1);
  const std::string_view layout = "(A1,I5,A1,I10,A2,I5,A1,I10,A2,I5,A1,I10,A2,I5,A1,I10,:)";
  const int32_t lines = (maxd + 3) / 4;
  for (int32_t r = 0; r < lines; ++r) {
    const int32_t tau = 4 * r + 1;
    const Items items = {" ", tau,     " ", saturate32(g_vector.at(tau)),
                         bar, tau + 1, " ", saturate32(g_vector.at(tau + 1)),
                         bar, tau + 2, " ", saturate32(g_vector.at(tau + 2)),
                         bar, tau + 3, " ", saturate32(g_vector.at(tau + 3))};
    io.both(layout, items);
    if ((r + 1) % 18 == 0) io.pause();
  }
}

// The listing run for d, from the count of slot d to the closing.
void listing_run(Session& s, int32_t N, int32_t d) {
  Io& io = s.io;
  const double Nd = N;
  const int64_t count = g_vector.at(d);
  io.lst({"There are", saturate32(count), " numbers with "});
  io.lst({d, "  divisors up to   "});
  io.scr("(A3,F11.0)", {"   ", Nd});
  if (count == 0) {
    io.rule();
    return;
  }
  if (count > kListMax) {
    io.lst({"only 2000 numbers could be indicated and"});
    io.lst({"they they would not the first 2000 numbers with"});
    io.lst({d, " divisors,but the first 2000 numbers"});
    io.lst({"with ", d, " divisors as generated by "});
    io.lst({"the algorithm For a  list  with all the"});
    io.lst({"first numbers with ", d, " divisors run again "});
    io.lst({"this option   and enter N smaller.Menu ?  Y/N"});
    const char answer = io.read_a1();
    io.pause();
    clear_vector_and_list();
    if (answer == 'Y' || answer == 'y') return;
  }
  io.pause();
  io.lst({"Please wait few seconds"});

  const std::string_view header = "            NUMBER      SUM OF DIV.    EULER FUNCT.";
  io.lst({header});
  io.log("(A20,I5,A15)", {"Numbers with  ", d, " divisors"});
  io.log("(A70)", {std::string(header).append(66 - header.size(), ' ')});
  io.lst({"AND FACTORS "});
  io.log("(A70)", {std::string("AND FACTORS").append(61 - 11, ' ')});

  ListingPrinter printer(io);
  const ListingResult res = list_divisor_class(N, d, s.t, kListMax, printer);
  if (res.quit) {
    io.rule();
    return;
  }
  const int32_t k = std::min(res.k, kListMax);
  io.pause();
  if (!res.cut) {
    std::sort(g_list.begin() + 1, g_list.begin() + 1 + k);
    io.log("(A35)", {"ORDERED LIST OF DIVISORS"});
    for (int32_t j = 1; j <= k; ++j) {
      io.lst({j, g_list[j]});
      printer.line += 1;
      io.pagestop(printer.line, printer.quit);
      if (printer.quit) {
        io.rule();
        return;
      }
      io.log("(2I10)", {j, g_list[j]});
    }
    io.pause();
  }
  clear_vector_and_list();
  io.pause();
  io.rule();
}

}  // namespace

void vetto1(Session& s) {
  Io& io = s.io;
  clear_vector_and_list();
  int32_t N = 0;
  do io.asknum(N);
  while (N < kDivisorVectorLeast);
  const double Nd = N;
  io.log("(A35)", {"Subdivision of divisors for N="});
  io.pause();
  io.lst({"Please wait few seconds"});
  count_divisor_vector(N, s.t, g_vector);

  io.lst({"         V E C T O R    R E A D Y"});
  io.pause();
  io.log("(A3,F11.0)", {"   ", Nd});
  io.lst({"there are ", g_vector.primes, " prime numbers"});

  int32_t maxd = 1;
  for (int32_t tau = kVectorSlots; tau >= 1; --tau)
    if (g_vector.slot[tau] != 0) {
      maxd = tau;
      break;
    }
  vector_table(io, maxd);
  int64_t sum = 0;
  for (int32_t tau = 1; tau <= maxd; ++tau) sum += g_vector.slot[tau];
  const std::string_view sum_text =
      "The sum of the list(total numbers of composites and primes+1)= ";
  io.lst({sum_text, saturate32(sum)});
  io.log("(A60,I10)", {sum_text, saturate32(sum)});

  io.pause();
  io.lst({"O P T I O N for a lists of numbers with the same number"});
  io.lst({"of divisors up to "});
  io.scr("(A3,F11.0)", {"   ", Nd});
  io.lst({"In this list sum of divisors,Euler Function and"});
  io.lst({"factors are indicated.If N is large the list could"});
  io.lst({"be big.The program shows only up to 2000 numbers "});
  io.lst({"as generated by the algorithm."});
  io.lst({".Enter 0 to go to main menu otherwise the number"});
  io.lst({"of divisors of the numbers to be indicated.For "});
  io.lst({"instance 6 for a list of numbers with 6 divisors up to"});
  io.scr("(A3,F11.0)", {"   ", Nd});

  int32_t d = 0;
  io.asknum(d);
  if (d == 0) {
    io.rule();
    return;
  }
  if (d == 2) {
    io.lst({"this is only a list of primes"});
    io.rule();
    return;
  }
  listing_run(s, N, d);
}

}  // namespace ntb
