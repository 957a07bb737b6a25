// lista, primes-submenu entry 2: the primes from N1 to N2 with their indexes
// (mode 0), or the pairs of consecutive primes among them whose gap is g1
// (mode 1) or lies in g1..g2 (mode 2).  The indexes come from trova1; the
// listing itself is lista_rows.  Every line goes to the screen and then to
// the log, and stops the screen every 20 lines.
#include <string_view>

#include "numtheory/count/prime_count.hpp"
#include "numtheory/factor/factor.hpp"
#include "numtheory/int_math.hpp"
#include "primes/commands.hpp"
#include "primes/engine/prime_listing.hpp"

namespace ntb {

namespace {

constexpr std::string_view kRow = "(A2,I11,I11,A2,I11,I11,A2,I11,I11,:)";

}  // namespace

void lista(Session& s) {
  Io& io = s.io;
  ListaPlan plan;

  do {
    io.lst({"Enter 0 to find a list of prines"});
    io.lst({"enter 1 for a list of a fixed  gap(example 2)"});
    io.lst({"enter 2 for a list in an  interval of gaps(example from  2 to 10)"});
    io.asknum(plan.mode);
  } while (!lista_mode_ok(plan.mode));
  if (plan.mode == 1) {
    io.lst({"enter even numbe >= 2 for the gap"});
    io.asknum(plan.g1);
  } else if (plan.mode == 2) {
    io.lst({"enter even numbe >= 2 for the first number of the inteval of gaps"});
    io.asknum(plan.g1);
    io.lst({"enter even numbe >= 4 for the last number of the inteval of gaps"});
    io.asknum(plan.g2);
  }

  int32_t n1 = 0;
  do {
    io.lst({"N1 ? odd number>11"});
    io.lst({"list starts with next prime"});
    io.asknum(n1);
  } while (!lista_first_ok(n1));
  io.lst({n1});
  plan.p1 = largest_prime_by_primefac(n1);
  io.lst({plan.p1});
  plan.i1 = trova1_of(plan.p1, s.t);
  io.lst({plan.i1});

  int32_t n2 = 0;
  do {
    io.lst({"N2 ? N2>N1 and N2<2147483647"});
    io.asknum(n2);
  } while (n2 < plan.p1);
  double x = n2;
  trova1(x, s.t);
  const int32_t i2 = saturate32(static_cast<int64_t>(x));
  io.lst({x, i2});
  const int32_t count = saturate32(int64_t{i2} - plan.i1 + 1);
  io.lst({"there are  ", count, " primes from N1 to N2"});

  if (plan.mode == 0) {
    io.lst({"It follows the list of primes with their index"});
    io.log("(1X,A45)", {" List of primes with their index"});
  } else {
    io.lst({"It follows the list of gap of primes with their index"});
    io.log("(1X,A45)", {" List of gap of primes with their index"});
    io.log("(1X,A45)", {" gap =   "});
    io.log("(I10)", {plan.g1, plan.g2});
  }
  io.pause();

  plan.groups = saturate32((int64_t{count} + 2) / 3);
  const char sep_char = ACHAR(124);
  const std::string_view sep(&sep_char, 1);
  int32_t lines = 0, quit = 0;
  lista_rows(s.t, plan, [&](const ListaRow& r) {
    if (plan.mode == 0) {
      const Item items[] = {"  ",     r.idx[0], r.val[0], sep,     r.idx[1],
                            r.val[1], sep,      r.idx[2], r.val[2]};
      const std::span<const Item> row(items, 3 * r.n);  // a short last group ends early
      io.both(kRow, row);
    } else {
      const Item items[] = {"  ", r.idx[0], r.val[0], sep, r.idx[1], r.val[1], sep, r.gap};
      io.both(kRow, items);
    }
    ++lines;
    io.pagestop(lines, quit);
    return quit == 0;
  });

  if (plan.mode != 0) {
    io.both("(1X,A45)", {"pairs found                    "});
    io.both("(I10)", {lines});
  }
  io.rule();
  io.pause();
}

}  // namespace ntb
