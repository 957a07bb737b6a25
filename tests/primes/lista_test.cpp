// lista: its rows against a sieve written here, the dialogue and closing
// records, paging and quitting, and the top of the 32-bit range.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "numtheory/count/prime_count.hpp"
#include "primes/commands.hpp"
#include "primes/engine/prime_listing.hpp"
#include "support/dialogue.hpp"
#include "support/scripted_console.hpp"
#include "support/table_edits.hpp"

namespace ntb {
namespace {

using ntb::testing::asked;
using ntb::testing::built_tables;
using ntb::testing::Harness;
using ntb::testing::kPause;

bool trial_prime(int64_t n) {
  if (n < 2) return false;
  for (int64_t d = 2; d * d <= n; ++d)
    if (n % d == 0) return false;
  return true;
}

TEST(PrimeListing, PrimeStepsAgreeWithTrialDivision) {
  const Tables& t = built_tables();
  for (int32_t n = 3; n < 200000; n += 2) ASSERT_EQ(is_prime_by_y(n, t), trial_prime(n)) << n;
}

// The primes from p (prime) on, by trial division, at most n of them and none
// above 2^31 - 1.
std::vector<int32_t> primes_from(int32_t p, int32_t n) {
  std::vector<int32_t> out;
  for (int64_t c = p; c <= INT32_MAX && static_cast<int32_t>(out.size()) < n; c += 2)
    if (trial_prime(c)) out.push_back(static_cast<int32_t>(c));
  return out;
}

std::vector<ListaRow> rows_of(const ListaPlan& plan, int32_t stop_after = -1) {
  std::vector<ListaRow> rows;
  lista_rows(built_tables(), plan, [&](const ListaRow& r) {
    rows.push_back(r);
    return static_cast<int32_t>(rows.size()) != stop_after;
  });
  return rows;
}

// Mode 0: the rows are the next 3 * groups primes in threes, numbered on from i1.
void check_mode0(int32_t p1, int32_t i1, int32_t groups) {
  ListaPlan plan;
  plan.p1 = p1;
  plan.i1 = i1;
  plan.groups = groups;
  const auto want = primes_from(p1, 3 * groups);
  const auto rows = rows_of(plan);
  ASSERT_EQ(static_cast<int32_t>(rows.size()), (static_cast<int32_t>(want.size()) + 2) / 3) << p1;
  size_t k = 0;
  for (const auto& r : rows) {
    for (int32_t j = 0; j < r.n; ++j, ++k) {
      ASSERT_EQ(r.val[j], want[k]) << p1;
      ASSERT_EQ(r.idx[j], i1 + static_cast<int32_t>(k)) << p1;
    }
  }
  EXPECT_EQ(k, want.size());
}

// Modes 1 and 2: every consecutive pair of the listed primes whose gap is in
// g1..g2, in order.
void check_pairs(int32_t mode, int32_t g1, int32_t g2, int32_t p1, int32_t groups) {
  ListaPlan plan;
  plan.mode = mode;
  plan.g1 = g1;
  plan.g2 = g2;
  plan.p1 = p1;
  plan.i1 = 1000;
  plan.groups = groups;
  const int32_t hi = mode == 1 ? g1 : g2;
  const auto primes = primes_from(p1, 3 * groups);
  std::vector<std::pair<int32_t, int32_t>> want;
  for (size_t k = 0; k + 1 < primes.size(); ++k) {
    const int32_t gap = primes[k + 1] - primes[k];
    if (gap >= g1 && gap <= hi) want.emplace_back(k, primes[k]);
  }
  const auto rows = rows_of(plan);
  ASSERT_EQ(rows.size(), want.size()) << p1 << " gaps " << g1 << ".." << hi;
  for (size_t r = 0; r < rows.size(); ++r) {
    const auto& row = rows[r];
    EXPECT_EQ(row.n, 2);
    EXPECT_EQ(row.val[0], want[r].second);
    EXPECT_EQ(row.idx[0], 1000 + want[r].first);
    EXPECT_EQ(row.idx[1], row.idx[0] + 1);
    EXPECT_EQ(row.gap, row.val[1] - row.val[0]);
  }
}

TEST(PrimeListing, RowsAgainstTrialDivisionOverTheRange) {
  check_mode0(13, 6, 40);
  check_pairs(1, 2, 0, 13, 300);   // twins
  check_pairs(1, 6, 0, 13, 300);   // one gap
  check_pairs(2, 4, 10, 13, 300);  // an interval of gaps
  check_pairs(2, 10, 4, 13, 50);   // empty interval: no pairs
  std::mt19937 rng(5);
  std::uniform_int_distribution<int32_t> pick(13, INT32_MAX - 100000);
  for (int i = 0; i < 12; ++i) {
    const int32_t p1 = primes_from(pick(rng) | 1, 1)[0];
    check_mode0(p1, 12345, 30);
    check_pairs(2, 2, 30, p1, 30);
    check_pairs(1, 2 * (1 + i % 5), 0, p1, 30);
  }
}

TEST(PrimeListing, StopsWhenTheVisitorSaysSo) {
  ListaPlan plan;
  plan.groups = 100;
  EXPECT_EQ(rows_of(plan, 7).size(), 7u);
}

TEST(PrimeListing, TopOfTheRangeEndsWithTheLastPrimeIn32Bits) {
  // The last primes in 32 bits: 2147483587, 2147483629, 2147483647.
  EXPECT_EQ(largest_prime_by_primefac(2147483645), 2147483629);
  ListaPlan plan;
  plan.p1 = 2147483647;
  plan.i1 = 105097565;
  plan.groups = 1;
  auto rows = rows_of(plan);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].n, 1);
  EXPECT_EQ(rows[0].val[0], 2147483647);
  EXPECT_EQ(rows[0].idx[0], 105097565);

  plan.p1 = 2147483587;
  plan.i1 = 105097563;
  plan.groups = 5;  // more groups than primes left: the listing ends anyway
  rows = rows_of(plan);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].n, 3);
  EXPECT_EQ(rows[0].val[2], 2147483647);

  plan.mode = 2;
  plan.g1 = 2;
  plan.g2 = 100;
  rows = rows_of(plan);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].val[0], 2147483629);
  EXPECT_EQ(rows[1].val[1], 2147483647);
  EXPECT_EQ(rows[1].gap, 18);
}

TEST(PrimeListing, EditedTableEntriesThatCannotDividePassOver) {
  auto t = std::make_unique<Tables>(built_tables());
  substitute(*t, 3, 0);  // 5 becomes 0: no division by zero, 25 passes
  EXPECT_TRUE(is_prime_by_y(25, *t));
  EXPECT_FALSE(is_prime_by_y(21, *t));
  substitute(*t, 4, 1);  // 7 becomes 1: it divides nothing
  EXPECT_TRUE(is_prime_by_y(49, *t));
  EXPECT_TRUE(is_prime_by_y(53, *t));
}

// ---------------------------------------------------------------------------
// The command

const char* const kMenu[] = {"Enter 0 to find a list of prines",
                             "enter 1 for a list of a fixed  gap(example 2)",
                             "enter 2 for a list in an  interval of gaps(example from  2 to 10)"};

TEST(Lista, OneGroupFrom13To13) {
  // Mode 3 asked again, N1 = 11 and 14 asked again, N2 = 12 asked again.
  Harness h({"3", "", "0", "", "11", "", "14", "", "13", "", "12", "", "13", "", "", ""});
  ASSERT_TRUE(h.run([](Session& s) { lista(s); }));
  const std::string row = "           6         13 |          7         17 |          8         19";
  EXPECT_EQ(h.log.text, std::string(15, ' ') + "List of primes with their index\r\n " + row +
                            "\r\n " + std::string(45, '_') + "\r\n");
  const auto sc = h.screen_lines();
  ASSERT_EQ(sc.size(), 25u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(sc[i], kMenu[i]);
  EXPECT_EQ(sc[3], asked("3") + kMenu[0]);
  EXPECT_EQ(sc[6], asked("0") + "N1 ? odd number>11");
  EXPECT_EQ(sc[8], asked("11") + "N1 ? odd number>11");
  EXPECT_EQ(sc[10], asked("14") + "N1 ? odd number>11");
  EXPECT_EQ(sc[12], asked("13") + "         13");  // N1
  EXPECT_EQ(sc[13], "         13");                // P1
  EXPECT_EQ(sc[14], "          6");                // its index
  EXPECT_EQ(sc[15], "N2 ? N2>N1 and N2<2147483647");
  EXPECT_EQ(sc[16], asked("12") + "N2 ? N2>N1 and N2<2147483647");
  EXPECT_EQ(sc[17], asked("13") + "       6.000000000000000           6");
  EXPECT_EQ(sc[18], "there are            1 primes from N1 to N2");
  EXPECT_EQ(sc[19], "It follows the list of primes with their index");
  EXPECT_EQ(sc[20], kPause);
  EXPECT_EQ(sc[21], row);
  EXPECT_EQ(sc[22], std::string(45, '_'));
  EXPECT_EQ(sc[23], kPause);
  EXPECT_EQ(sc[24], "");  // the pause's line end
  EXPECT_TRUE(h.console.input.empty());
}

TEST(Lista, FirstPrimeBelowAnOddN1) {
  Harness h({"0", "", "15", "", "20", "", "", ""});
  ASSERT_TRUE(h.run([](Session& s) { lista(s); }));
  const auto sc = h.screen_lines();
  ASSERT_GE(sc.size(), 11u);
  EXPECT_EQ(sc[5], asked("15") + "         15");
  EXPECT_EQ(sc[6], "         13");
  EXPECT_EQ(sc[7], "          6");
  EXPECT_EQ(sc[9], asked("20") + "       8.000000000000000           8");
  EXPECT_EQ(sc[10], "there are            3 primes from N1 to N2");
  EXPECT_EQ(h.log_lines()[1],
            "            6         13 |          7         17 |          8         19");
}

TEST(Lista, TwinsFrom13To100) {
  Harness h({"1", "", "2", "", "13", "", "100", "", "", ""});
  ASSERT_TRUE(h.run([](Session& s) { lista(s); }));
  const std::vector<std::string> want = {
      std::string(8, ' ') + "List of gap of primes with their index",
      std::string(38, ' ') + "gap =   ",
      "         2",
      "         0",
      "            7         17 |          8         19 |          2",
      "           10         29 |         11         31 |          2",
      "           13         41 |         14         43 |          2",
      "           17         59 |         18         61 |          2",
      "           20         71 |         21         73 |          2",
      std::string(15, ' ') + "pairs found                    ",
      "         5",
      std::string(" ").append(45, '_'),
      ""};
  EXPECT_EQ(h.log_lines(), want);
  const auto sc = h.screen_lines();
  ASSERT_EQ(sc.size(), 24u);
  EXPECT_EQ(sc[3], asked("1") + "enter even numbe >= 2 for the gap");
  EXPECT_EQ(sc[10], asked("100") + "      25.000000000000000          25");
  EXPECT_EQ(sc[11], "there are           20 primes from N1 to N2");
  EXPECT_EQ(sc[12], "It follows the list of gap of primes with their index");
  EXPECT_EQ(sc[14], want[4].substr(1));
  EXPECT_EQ(sc[18], want[8].substr(1));
  EXPECT_EQ(sc[19], std::string(14, ' ') + "pairs found                    ");
  EXPECT_EQ(sc[20], "        5");
}

TEST(Lista, IntervalOfGapsAsksBothEnds) {
  Harness h({"2", "", "4", "", "6", "", "13", "", "60", "", "", ""});
  ASSERT_TRUE(h.run([](Session& s) { lista(s); }));
  const auto sc = h.screen_lines();
  EXPECT_EQ(sc[3],
            asked("2") + "enter even numbe >= 2 for the first number of the inteval of gaps");
  EXPECT_EQ(sc[4], asked("4") + "enter even numbe >= 4 for the last number of the inteval of gaps");
  const auto log = h.log_lines();
  ASSERT_EQ(log.size(), 16u);
  EXPECT_EQ(log[2], "         4");
  EXPECT_EQ(log[3], "         6");
  // 13..61 and the group's completion to 67: gaps 4 and 6 only.
  EXPECT_EQ(log[4], "            6         13 |          7         17 |          4");
  EXPECT_EQ(log[5], "            8         19 |          9         23 |          4");
  EXPECT_EQ(log[6], "            9         23 |         10         29 |          6");
  EXPECT_EQ(log[7], "           11         31 |         12         37 |          6");
  EXPECT_EQ(log[8], "           12         37 |         13         41 |          4");
  EXPECT_EQ(log[9], "           14         43 |         15         47 |          4");
  EXPECT_EQ(log[10], "           15         47 |         16         53 |          6");
  // The last group 53, 59, 61 runs past N2 = 60.
  EXPECT_EQ(log[11], "           16         53 |         17         59 |          6");
  EXPECT_EQ(log[13], "         8");
}

TEST(Lista, QuittingAtThePageStopStillCountsThePairs) {
  Harness h({"1", "", "2", "", "13", "", "1000000", "", "", "q", ""});
  ASSERT_TRUE(h.run([](Session& s) { lista(s); }));
  const auto log = h.log_lines();
  ASSERT_EQ(log.size(), 4u + 20u + 4u);
  EXPECT_EQ(log[24], std::string(15, ' ') + "pairs found                    ");
  EXPECT_EQ(log[25], "        20");
  const auto sc = h.screen_lines();
  // The stop shows its prompt; q goes straight on to the closing records.
  ASSERT_GE(sc.size(), 6u);
  EXPECT_EQ(sc[sc.size() - 6], ntb::testing::kStop);
  EXPECT_EQ(sc[sc.size() - 5], std::string(14, ' ') + "pairs found                    ");
  EXPECT_TRUE(h.console.input.empty());
}

TEST(Lista, PageStopEveryTwentyLines) {
  // 60 primes from 13 in mode 0: 20 lines and a stop, continued, up to 40 and
  // a stop, then quit; the listing ends there.
  std::vector<std::string> in = {"0", "", "13", "", "1000000", "", ""};
  for (auto a : {"x", "", "q", ""}) in.push_back(a);
  Harness h(in);
  ASSERT_TRUE(h.run([](Session& s) { lista(s); }));
  EXPECT_EQ(h.log_lines().size(), 1u + 40u + 2u);
  EXPECT_EQ(h.log_lines()[40],
            "          123        677 |        124        683 |        125        691");
}

TEST(Lista, TopOfTheRange) {
  Harness h({"0", "", "2147483647", "", "2147483647", "", "", ""});
  ASSERT_TRUE(h.run([](Session& s) { lista(s); }));
  const auto log = h.log_lines();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[1], "    105097565 2147483647");  // the last prime alone
  const auto sc = h.screen_lines();
  ASSERT_GE(sc.size(), 8u);
  EXPECT_EQ(sc[sc.size() - 8], asked("2147483647") + "  1.050975650000000E+008   105097565");
  EXPECT_EQ(sc[sc.size() - 4], "   105097565 2147483647");
}

// The listing procedure step by step: cur + 2 until trial division by y
// passes it, groups of three, the pairs (prev, q1), (q1, q2), (q2, q3).
std::vector<std::vector<int64_t>> literal_rows(const Tables& t, const ListaPlan& plan) {
  std::vector<std::vector<int64_t>> out;
  const int32_t lo = plan.g1, hi = plan.mode == 1 ? plan.g1 : plan.g2;
  int64_t cur = plan.p1 - 2, idx = plan.i1 - 1, prev = 0;
  bool have_prev = false;
  for (int32_t g = 0; g < plan.groups; ++g) {
    int64_t q[3];
    int found = 0;
    while (found < 3) {
      do cur += 2;
      while (cur <= INT32_MAX && !is_prime_by_y(static_cast<int32_t>(cur), t));
      if (cur > INT32_MAX) break;
      q[found++] = cur;
      ++idx;
    }
    if (found == 0) break;
    const int64_t first = idx - found + 1;
    if (plan.mode == 0) {
      std::vector<int64_t> row = {found};
      for (int i = 0; i < found; ++i) {
        row.push_back(first + i);
        row.push_back(q[i]);
      }
      out.push_back(row);
    } else {
      for (int i = have_prev ? -1 : 0; i + 1 < found; ++i) {
        const int64_t a = i < 0 ? prev : q[i], b = q[i + 1];
        if (b - a >= lo && b - a <= hi) out.push_back({2, first + i, a, first + i + 1, b, b - a});
      }
      prev = q[found - 1];
      have_prev = true;
    }
    if (found < 3) break;
  }
  return out;
}

std::vector<std::vector<int64_t>> engine_rows(const Tables& t, const ListaPlan& plan) {
  std::vector<std::vector<int64_t>> out;
  lista_rows(t, plan, [&](const ListaRow& r) {
    std::vector<int64_t> row = {r.n};
    for (int i = 0; i < r.n; ++i) {
      row.push_back(r.idx[i]);
      row.push_back(r.val[i]);
    }
    if (plan.mode != 0) row.push_back(r.gap);
    out.push_back(row);
    return true;
  });
  return out;
}

// The rows of every mode on the table as built and on many edited tables,
// low in the range, at random points and at its top, against the procedure.
void sweep_lista(int tables, int32_t groups) {
  std::mt19937 rng(11);
  for (int k = 0; k <= tables; ++k) {
    auto e = k == 0
                 ? testing::EditedTables{std::make_unique<Tables>(built_tables()), 0, " as built"}
                 : testing::random_edits(500 + k);
    // 1357201 is followed by the first gap of 132.
    for (int32_t start :
         {13, static_cast<int32_t>(13 + 2 * (rng() % 1073741000u)), 1356001, 2147482001}) {
      ListaPlan plan;
      plan.mode = static_cast<int32_t>(rng() % 3);
      // Gaps above 126 take the sieve a word at a time.
      plan.g1 = rng() % 3 ? 2 + 2 * static_cast<int32_t>(rng() % 4) : 128;
      plan.g2 = plan.g1 + 6;
      plan.p1 = largest_prime_by_primefac(start);
      plan.i1 = 1000;  // only a label here
      plan.groups = groups;
      ASSERT_EQ(engine_rows(*e.t, plan), literal_rows(*e.t, plan))
          << "from " << plan.p1 << " mode " << plan.mode << e.what;
    }
  }
}

// The pair across the gap of 132 after 1357201 is listed when its second
// prime is among the 3 * groups primes, and not when the listing ends at
// 1357201 (the word of the sieve holding both is cut there).
TEST(PrimeListing, WideGapsAtTheEndOfTheListing) {
  const Tables& t = built_tables();
  for (int32_t p1 : {1357201, 1357193, 1357183, 1357163}) {
    for (int32_t mode : {1, 2}) {
      ListaPlan plan;
      plan.mode = mode;
      plan.g1 = mode == 1 ? 132 : 128;
      plan.g2 = 140;
      plan.p1 = largest_prime_by_primefac(p1);
      plan.groups = 1;
      const auto want = literal_rows(t, plan);
      EXPECT_EQ(engine_rows(t, plan), want) << p1;
      EXPECT_EQ(want.size(), p1 >= 1357193 ? 1u : 0u) << p1;
    }
  }
}

TEST(PrimeListing, RowsFollowTheProcedureOnEditedTables) {
  sweep_lista(16, 300);
}

TEST(PrimeListing, FullRowsFollowTheProcedureOnEditedTables) {
  if (!std::getenv("NTBENCH_FULL")) GTEST_SKIP() << "NTBENCH_FULL not set";
  sweep_lista(200, 3000);
}

}  // namespace
}  // namespace ntb
