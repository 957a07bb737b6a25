// Goldbach entries 2, 3 and 4: the even numbers from 6 to 12004 that have
// exactly K pairs of primes, of composites or mixed pairs.  K above 100 is
// asked again; a quit at a pager stop asks for K again.
#include "goldbach/commands.hpp"
#include "goldbach/engine/engines.hpp"
#include "goldbach/report.hpp"

namespace ntb {

namespace {

constexpr int32_t kLargestSum = 12004;  // the last even number searched

struct SearchTexts {
  const char* prompt;
  const char* title;
  const char* label;
  size_t width;  // of the title and label fields
};

void equal_counts(Session& s, PairKind kind, const SearchTexts& tx) {
  Io& io = s.io;
  for (;;) {
    int32_t K = 0;
    do {
      io.lst({tx.prompt});
      io.asknum(K);
    } while (K > 100);
    io.log("(1X,A75)", {pad(tx.title, tx.width)});
    io.log("(1X,A75)", {pad(tx.label, tx.width)});
    io.log("(8I7)", {K});
    const Counts c(s.t, kLargestSum);
    const int32_t found = equal_count_search(kind, K, c, [&](int32_t counter, int32_t n) {
      io.lst({counter, n});
      io.log("(8I7)", {counter, n});
      int32_t quit = 0;
      io.pagestop(counter, quit);
      return quit == 0;
    });
    if (found < 0) continue;
    io.lst({pad("numbers with", 12), K, pad(" pairs = ", 9), found});
    io.log("(A20,1I9,A20,1I9)", {pad("numbers with", 12), K, pad(" pairs = ", 9), found});
    io.rule();
    io.pause();
    return;
  }
}

}  // namespace

void Goldbach2(Session& s) {
  equal_counts(s, PairKind::Primes,
               {"Number of pairs of primes? >1,<=100",
                "List of numbers which have the same number of pairs of primes",
                "Number of pairs of primes =", 71});
}

void Goldbach3(Session& s) {
  equal_counts(s, PairKind::Composites,
               {"Number of pairs of composites? >=0,<=100",
                "List of numbers which have the same number of pairs of composites",
                "Number of pairs of composites =", 75});
}

void Goldbach4(Session& s) {
  equal_counts(s, PairKind::Mixed,
               {"Number of pairs of mixed ? >=0,<=100",
                "List of numbers which have the same number of pairs of mixeed",
                "Number of pairs of mixed =", 70});
}

}  // namespace ntb
