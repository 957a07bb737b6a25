// The dialogue and records of the inclusion-exclusion and reverse commands,
// the triplet elaboration and the Pythagorean triplets, driven with scripted
// answers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "methods/commands.hpp"
#include "methods/engine/triplet_data.hpp"
#include "numtheory/tables/tables.hpp"
#include "support/dialogue.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using ntb::testing::count_of;
using ntb::testing::crlf;
using ntb::testing::full_run;
using ntb::testing::Harness;
using ntb::testing::index_of;
using ntb::testing::kPause;
using ntb::testing::kRule45;
using ntb::testing::kStop;
using ntb::testing::transcript;
using ntb::testing::transcript_log;

// Scripted answers: a confirmed number, blank lines for pauses, keys.
struct Script {
  std::vector<std::string> lines;
  Script& num(int64_t n) {
    lines.push_back(std::to_string(n));
    lines.push_back("");
    return *this;
  }
  Script& blank(int count = 1) {
    for (int i = 0; i < count; ++i) lines.push_back("");
    return *this;
  }
  Script& key(const std::string& k, int count = 1) {
    for (int i = 0; i < count; ++i) lines.push_back(k);
    return *this;
  }
  Script& then(const Script& s) {
    lines.insert(lines.end(), s.lines.begin(), s.lines.end());
    return *this;
  }
};

// A whole number as Fw.0 writes it.
std::string f0(int64_t v, size_t w) {
  std::string s = std::to_string(v) + ".";
  return std::string(w - s.size(), ' ') + s;
}

// A reverse run from the methods submenu (entry 0) or as triplets entry 1..3.
void reverse_as(Session& s, int entry) {
  s.tripmode = entry == 0 ? 0 : 1;
  s.store1 = entry == 1;
  s.store2 = entry == 2;
  s.store3 = entry == 3;
  reverse(s);
}

// Answers for a whole reverse run with print choice 1 that closes `sets` sets.
Script reverse_answers(int32_t n, int sets) {
  return Script().num(n).num(1).blank(1 + sets);
}

// ---------------------------------------------------------------------------
// Reverse method

TEST(ReverseSession, HundredPartOfDataWholeLog) {
  Harness h(reverse_answers(100, 4).lines);
  ASSERT_TRUE(h.run([](Session& s) { reverse_as(s, 0); }));
  EXPECT_EQ(h.log.text, transcript_log("reverse_100_some_rows.log"));

  const auto screen = h.screen_lines();
  const std::vector<std::string> end(screen.end() - 5, screen.end());
  EXPECT_EQ(end, (std::vector<std::string>{
                     "                               total =          74.",
                     "                             primes to         100.        25.",
                     "with binary search          25",
                     "negative jumps         29",
                     kRule45,
                 }));
  // The screen's set line has its own spelling.
  EXPECT_EQ(
      count_of(screen, "set N        1.  relevant to prine          2 =         49        12"), 1);
  EXPECT_EQ(count_of(screen, kStop), 0);
  EXPECT_EQ(h.trip->rowcount, 18);
}

TEST(ReverseSession, HundredAllDataRowsAndLegend) {
  Harness h(Script().num(100).num(0).blank(1 + 4).lines);
  ASSERT_TRUE(h.run([](Session& s) { reverse_as(s, 0); }));
  const auto log = h.log_lines();
  EXPECT_EQ(log[5],
            " column 1 = sequential number of calculations for each block" + std::string(16, ' '));
  EXPECT_EQ(log[11],
            " NOTE:N/K1,K2..  may be called combimations,the elements are primes         ");
  EXPECT_EQ(log[13], " \t\tand subtotals are printed" + std::string(48, ' '));
  EXPECT_EQ(log[14], "       1        2         3         4         5          6   ");
  EXPECT_EQ(log[15], " " + std::string(56, '_') + "    ");
  const std::string dashes = "       --------------------------             ";
  EXPECT_EQ(log[16], "        1      50.000       2       15.       15.         2");
  EXPECT_EQ(log[17], dashes);
  EXPECT_EQ(log[18], "        2      16.667       3        5.       20.         6");
  EXPECT_EQ(log[20], "        3       5.556       3        2.       22.        18");
  EXPECT_EQ(log[26], "        6      25.000       2        9.       34.         4");
  EXPECT_EQ(count_of(log, dashes), 18);
  const auto screen = h.screen_lines();
  EXPECT_EQ(count_of(screen, dashes.substr(1)), 18);
  EXPECT_EQ(count_of(screen, "      18      14.286       7        3.       74.         7"), 1);
  EXPECT_EQ(count_of(screen, kStop), 0);  // 18 rows: no page stop
}

// No rows and no sets below 4: the primes up to N are the integers 2..N,
// none for N = 0.
TEST(ReverseSession, ZeroToThreeHaveNoRowsAndNoSets) {
  for (int32_t n = 0; n <= 3; ++n) {
    SCOPED_TRACE(n);
    const int32_t primes = n == 0 ? 0 : n - 1;
    Harness h(Script().num(n).num(1).blank().lines);
    ASSERT_TRUE(h.run([](Session& s) { reverse_as(s, 1); }));
    EXPECT_EQ(h.log.text,
              crlf({
                  "  calculate Phi(N) with reverse method for N =",
                  f0(n, 10),
                  "                                 Print all data enter 0 part of data enter 1",
                  "      1",
                  "       ___________                       ",
                  "  final data for this number\t\t\t\t         ",
                  " total of column 5 or total of sets =" + std::string(4, ' ') + f0(0, 11),
                  " primes to" + std::string(31, ' ') + f0(n, 11) + f0(primes, 11),
                  " with binary search" + std::string(22, ' ') + f0(primes, 11),
                  " NOT events(negative jumps)\t          \t\t\t" + f0(0, 11),
                  "YES events(positive jumps)conbi     \t" + std::string(17, ' ') + "0",
                  " end reverse method" + std::string(27, ' '),
                  " " + kRule45,
              }));
    const auto screen = h.screen_lines();
    const std::vector<std::string> end(screen.end() - 5, screen.end());
    EXPECT_EQ(end, (std::vector<std::string>{
                       std::string(31, ' ') + "total =  " + f0(0, 11),
                       std::string(29, ' ') + "primes to  " + f0(n, 11) + f0(primes, 11),
                       "with binary search " + std::string(10, ' ') + std::to_string(primes),
                       "negative jumps" + std::string(10, ' ') + "0",
                       kRule45,
                   }));
    EXPECT_EQ(h.trip->rowcount, 0);
    EXPECT_EQ(h.trip->cnt1, 0);
    EXPECT_EQ(h.trip->a1[1], primes);  // the prime count after the rows
  }
}

TEST(ReverseSession, EditedTableGivesTheReducedReport) {
  Harness h(reverse_answers(100, 0).lines);
  for (int k = 0; k < 4; ++k) take_out(*h.tables, 1);
  build_yc(*h.tables, 1, 0, 1);
  h.s.no2357 = 1;
  ASSERT_TRUE(h.run([](Session& s) { reverse_as(s, 0); }));
  // y starts at 11 > sqrt(100): no rows, s1 = 0; 22 of 1..100 are free of
  // 2, 3, 5, 7, so the count is 22 - 0 + 3 = 25.
  const auto log = h.log_lines();
  const int at = index_of(log, "YES events(positive jumps)conbi     \t                 0");
  ASSERT_NE(at, -1);
  const std::vector<std::string> tail(log.begin() + at + 1, log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{
                      " " + kRule45,
                      "reduce of N -s1-1+4(primes to N) =                   25",
                      " z2(primes in vector to sqrt(N) =\t\t\t\t\t\t\t\t\t\t           0",
                      "       N,reduced,s1,z2  =                           100        22         0"
                      "         0",
                      " " + kRule45,
                      " " + kRule45,
                      "",
                  }));
  EXPECT_EQ(index_of(log, " primes to                                      100.        25."), -1);
  const auto screen = h.screen_lines();
  EXPECT_NE(index_of(screen, "educe of N -s1-1+4 (primes to N)=                   25"), -1);
  EXPECT_EQ(index_of(screen, "                               total =           0."), -1);
}

// The report's count past the end of y with 2, 3, 5, 7 taken out.
TEST(ReverseSession, EditedTableThirtyMillionGivesPhi) {
  Harness h;
  for (int k = 0; k < 4; ++k) take_out(*h.tables, 1);
  build_yc(*h.tables, 1, 0, 1);
  h.s.no2357 = 1;
  // y from 11 up to sqrt(30000000) = 5477: 719 sets.
  const int32_t sets = findp_of(5477, *h.tables);
  ASSERT_EQ(sets, 719);
  for (auto& l : reverse_answers(30000000, sets).lines) h.console.input.push_back(l);
  ASSERT_TRUE(h.run([](Session& s) { reverse_as(s, 0); }));
  const auto log = h.log_lines();
  // 6857143 of 1..30000000 are free of 2, 3, 5, 7; 4999287 composites among
  // them: 6857143 - 4999287 + 3 = 1857859 primes.
  EXPECT_NE(index_of(log, "reduce of N -s1-1+4(primes to N) =              1857859"), -1);
  EXPECT_NE(index_of(log,
                     "       N,reduced,s1,z2  =                      30000000   6857143   4999287"
                     "       719"),
            -1);
}

TEST(ReverseSession, TripletEntryStoresTheRunAndMarksTheLog) {
  Harness h(reverse_answers(20, 2).lines);
  ASSERT_TRUE(h.run([](Session& s) { reverse_as(s, 2); }));
  const TripletData& td = *h.trip;
  EXPECT_EQ(td.N2, 20);
  EXPECT_EQ(td.cnt2, 5);
  // Column 4 of the five rows, the prime count, then the row count.
  const double a2[] = {4, 1, 3, 1, 2, 8, 5, 0};
  for (int r = 1; r <= 8; ++r) EXPECT_EQ(td.a2[r], a2[r - 1]) << r;
  EXPECT_DOUBLE_EQ(td.comb2[1], 2.0);
  EXPECT_NEAR(td.comb2[2], 6.0, 1e-9);
  EXPECT_EQ(td.cnt1, 0);
  EXPECT_EQ(td.a1[1], 0);
  const auto log = h.log_lines();
  EXPECT_EQ(log[log.size() - 3], " end reverse method" + std::string(27, ' '));
}

TEST(ReverseSession, TripletEntryAsksAgainAbove2000000) {
  Harness h(Script().num(2000001).then(reverse_answers(30, 3)).lines);
  ASSERT_TRUE(h.run([](Session& s) { reverse_as(s, 3); }));
  EXPECT_EQ(h.trip->N3, 30);
  EXPECT_EQ(h.trip->cnt3, 7);
  const auto screen = h.screen_lines();
  EXPECT_EQ(h.log_lines()[1], "       30.");
  int prompts = 0;
  for (size_t at = h.console.screen.find("enter number"); at != std::string::npos;
       at = h.console.screen.find("enter number", at + 1))
    ++prompts;
  EXPECT_EQ(prompts, 3);  // N twice, the print choice once
}

TEST(ReverseSession, MethodsEntryRunsPastTheRowStore) {
  // 5000000 makes 27717 rows; the primes up to its square root are more
  // than 299.
  const int32_t sets = findp_of(2236, ntb::testing::built_tables());
  ASSERT_GT(sets, 299);
  Harness h(reverse_answers(5000000, sets).lines);
  ASSERT_TRUE(h.run([](Session& s) { reverse_as(s, 0); }));
  const auto log = h.log_lines();
  EXPECT_NE(index_of(log, " primes to                                  5000000.    348513."), -1);
  EXPECT_NE(index_of(log, "YES events(positive jumps)conbi     \t             27717"), -1);
  // y ends at 2000000: no check by search.
  for (const auto& l : log) EXPECT_EQ(l.find("with binary search"), std::string::npos);
  EXPECT_EQ(h.trip->rowcount, 27717);
}

TEST(ReverseSession, QuitAtAPageStopStoresNothing) {
  Script s = reverse_answers(10, 2);
  // N = 200 prints its rows; every answer after the choice is q, so the
  // opening pause passes and the stop at row 20 quits.
  s.num(200).num(0).key("q", 5);
  Harness h(s.lines);
  ASSERT_TRUE(h.run([](Session& s) {
    reverse_as(s, 1);
    reverse_as(s, 1);
  }));
  const TripletData& td = *h.trip;
  EXPECT_EQ(td.rowcount, 20);
  EXPECT_EQ(td.N1, 10);
  EXPECT_EQ(td.cnt1, 3);
  EXPECT_EQ(td.a1[1], 3);
  EXPECT_EQ(td.a1[4], 4);  // the prime count of 10
  const auto log = h.log_lines();
  EXPECT_EQ(count_of(log, " end reverse method" + std::string(27, ' ')), 1);
  EXPECT_EQ(log[log.size() - 2], "       --------------------------             ");
  EXPECT_EQ(log[log.size() - 3].substr(0, 9), "       20");
  // The stop read its key and showed no pause.
  EXPECT_EQ(h.screen_lines().back(), kStop);
}

// ---------------------------------------------------------------------------
// Inclusion-exclusion

TEST(InclusionSession, HundredAllData) {
  Harness h(Script().num(100).num(0).blank(5 + 2).lines);
  ASSERT_TRUE(h.run([](Session& s) { inclusion(s); }));
  const auto log = h.log_lines();
  const std::vector<std::string> head(log.begin(), log.begin() + 8);
  EXPECT_EQ(head,
            (std::vector<std::string>{
                "             suggested N < 2000000" + std::string(42, ' '),
                "             calculate Phi(N) with inclusion exclusion method for N =" +
                    std::string(7, ' '),
                "      100.",
                "                                 Print all data enter 0 part of data enter 1",
                "      0",
                "       ___________                       ",
                " column 1 = sequential number of operatiom" + std::string(34, ' '),
                " column 2 = combination of primes.-Operation multiplication\t\t\t\t\t" +
                    std::string(12, ' '),
            }));
  EXPECT_EQ(log[8], "   column 3 = sequential total" + std::string(12, ' ') + std::string(9, '\t') +
                        std::string(25, ' '));
  EXPECT_EQ(log[13], " " + std::string(56, '_') + "    ");
  const int first = index_of(log, "        1        2      50.      50.        0");
  ASSERT_EQ(first, 14);
  EXPECT_EQ(log[15], " set N        1.  relevant to prime          2 =         50");
  EXPECT_EQ(log[16], "        2        3      83.      33.        0");
  EXPECT_EQ(log[17], "        3        6      67.     -16.        0");
  EXPECT_EQ(log[18], " set N        2.  relevant to prime          3 =         17");
  EXPECT_EQ(count_of(log, " set N        3.  relevant to prime          5 =          7"), 1);
  EXPECT_EQ(count_of(log, " set N        4.  relevant to prime          7 =          4"), 1);
  const int at = index_of(log, "       13       70      78.       1.        0");
  ASSERT_NE(at, -1);
  const std::vector<std::string> tail(log.begin() + at + 1, log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{
                      " set N        4.  relevant to prime          7 =          4",
                      "   sr1  = totalizer of multiples                 78.",
                      "negative and positive results                        45       123",
                      "Number of combinations                               13",
                      "    N and number of primes calculated           100.        25.",
                      "    with binary search                           25.",
                      " sumn of positive and negative results              168",
                      " " + kRule45,
                      " end inclusion exclusion method               ",
                      " " + kRule45,
                      "",
                  }));
  const auto screen = h.screen_lines();
  EXPECT_NE(index_of(screen, "   sr1 =totalizer of multiples                  78."), -1);
  EXPECT_NE(index_of(screen, "negative and positive results                       45       123"),
            -1);
  EXPECT_NE(index_of(screen, "sum of positive and negative results               168"), -1);
  // The legend goes to both channels; the rows too.
  EXPECT_NE(
      index_of(screen, "column 2 = combination of primes.-Operation multiplication\t\t\t\t\t" +
                           std::string(12, ' ')),
      -1);
  EXPECT_NE(index_of(screen, "       3        6      67.     -16.        0"), -1);
}

TEST(InclusionSession, NineAndRestartBelowNine) {
  // 8 asks everything again, print choice included; 9 runs: 3 terms, 2 sets.
  Harness h(Script().num(8).num(1).num(9).num(1).blank(3 + 2).lines);
  ASSERT_TRUE(h.run([](Session& s) { inclusion(s); }));
  const auto log = h.log_lines();
  EXPECT_EQ(count_of(log, "             suggested N < 2000000" + std::string(42, ' ')), 2);
  EXPECT_EQ(log[2], "        8.");
  EXPECT_EQ(log[7], "        9.");
  EXPECT_NE(index_of(log, " set N        1.  relevant to prime          2 =          4"), -1);
  EXPECT_NE(index_of(log, " set N        2.  relevant to prime          3 =          2"), -1);
  EXPECT_NE(index_of(log, "    N and number of primes calculated             9.         4."), -1);
  EXPECT_NE(index_of(log, "Number of combinations                                3"), -1);
}

TEST(InclusionSession, AboveTwoMillionHasNoSearchCheck) {
  // sqrt(2000001) = 1414: 223 primes, 224 passes.
  Harness h(Script().num(2000001).num(1).blank(224 + 2).lines);
  ASSERT_TRUE(h.run([](Session& s) { inclusion(s); }));
  const auto log = h.log_lines();
  EXPECT_NE(index_of(log, "    N and number of primes calculated       2000001.    148933."), -1);
  for (const auto& l : log) {
    EXPECT_EQ(l.find("with binary search"), std::string::npos);
    EXPECT_EQ(l.find("sumn of positive"), std::string::npos);
  }
}

// The totals of the terms pass 32 bits; they keep the columns of I10.
TEST(InclusionSession, FullBillionTotalsPastThirtyTwoBits) {
  if (!full_run()) GTEST_SKIP() << "set NTBENCH_FULL";
  const int32_t passes = findp_of(31622, ntb::testing::built_tables()) + 1;
  Harness h(Script().num(1000000000).num(1).blank(passes + 2).lines);
  ASSERT_TRUE(h.run([](Session& s) { inclusion(s); }));
  const auto log = h.log_lines();
  EXPECT_NE(index_of(log, "negative and positive results" + std::string(16, ' ') + "4239320210" +
                              "5188476076"),
            -1);
  EXPECT_NE(index_of(log, "    N and number of primes calculated    1000000000.  50847534."), -1);
}

TEST(InclusionSession, EditedTableGivesTheReducedReport) {
  // 8 passes, 28 terms (one page stop), 2 pauses at the end.
  Harness h(Script().num(1000).num(0).blank(8 + 2 + 2).lines);
  for (int k = 0; k < 4; ++k) take_out(*h.tables, 1);
  build_yc(*h.tables, 1, 0, 1);
  h.s.no2357 = 1;
  ASSERT_TRUE(h.run([](Session& s) { inclusion(s); }));
  const auto log = h.log_lines();
  // The first term: 1000/11 = 90 multiples of 11, 21 of them free of 2,3,5,7.
  EXPECT_EQ(log[14], "        1       11      21.      90.       21");
  const std::vector<std::string> tail(log.end() - 5, log.end());
  EXPECT_EQ(tail[0].substr(0, 45), "reduce of N -sr1+z11+4-1 =" + std::string(19, ' '));
  EXPECT_EQ(tail[0].substr(45), "       168");
  EXPECT_EQ(tail[1].substr(0, 45), std::string(23, ' ') + "N,reduced,sr1,z11  =  ");
  // 228 of 1..1000 are free of 2, 3, 5, 7; the primes 11..31 are 7.
  EXPECT_EQ(tail[1].substr(45, 20), "      1000       228");
  EXPECT_EQ(tail[1].substr(75), "         7");
  EXPECT_EQ(tail[3], " " + kRule45);
  for (const auto& l : log) EXPECT_EQ(l.find("totalizer"), std::string::npos);
}

TEST(InclusionSession, QuitAtAPageStopEndsTheRun) {
  Harness h(Script().num(1000).num(0).key("q", 10).lines);
  ASSERT_TRUE(h.run([](Session& s) { inclusion(s); }));
  const auto log = h.log_lines();
  EXPECT_EQ(log[log.size() - 2].substr(0, 9), "       20");
  for (const auto& l : log) EXPECT_EQ(l.find("end inclusion"), std::string::npos);
}

// ---------------------------------------------------------------------------
// Triplet elaboration

// Runs entries 1, 2, 3 for 10, 20, 30 with print choice 1.
Script triplet_runs() {
  Script s = reverse_answers(10, 2);
  s.then(reverse_answers(20, 2)).then(reverse_answers(30, 3));
  return s;
}
void enter_triplet(Session& s) {
  reverse_as(s, 1);
  reverse_as(s, 2);
  reverse_as(s, 3);
}

TEST(TripletElaboration, TenTwentyThirty) {
  Harness h(triplet_runs().blank(4).lines);
  bool quit = true;
  ASSERT_TRUE(h.run([&](Session& s) {
    enter_triplet(s);
    s.io.log("(A4)", {"####"});
    quit = elaborate_triplets(s);
  }));
  EXPECT_FALSE(quit);
  auto log = h.log_lines();
  log.erase(log.begin(), log.begin() + index_of(log, "####") + 1);
  const std::vector<std::string> table_a = {
      "    2.    3. +    4. =    7. -    6. =    1.",
      "    6.    0. +    1. =    1. -    2. =   -1.",
      "    4.    1. +    3. =    4. -    4. =    0.",
      "    8.    0. +    1. =    1. -    2. =   -1.",
      "    3.    1. +    2. =    3. -    3. =    0.",
      "    9.    0. +    0. =    0. -    1. =   -1.",
      "    5.    0. +    0. =    0. -    1. =   -1.",
      "    0.    4. +    8. =   12. -   10. =    2.",
  };
  EXPECT_EQ(log[0], "     the 3 numbers entered are" + std::string(16, ' '));
  EXPECT_EQ(log[1], "     10     20     30");
  EXPECT_EQ(log[7], "   column 6 =           difference betwen columns 4 and 5" +
                        std::string(17, ' ') + "\t\t");
  EXPECT_EQ(log[8], " NOTE:if N3=N1+N2 the sum for column 6 must be 0 if we add 1 to all 3 member");
  EXPECT_EQ(log[9], "                    printing table A          ");
  EXPECT_EQ(log[11], "     1     2       3       4       5      6   ");
  EXPECT_EQ(std::vector<std::string>(log.begin() + 13, log.begin() + 21), table_a);
  EXPECT_EQ(log[21], " sum of last column+1 =                           0.");
  EXPECT_EQ(log[22], "     number of combinations of N1,N2,N3               3         5         7");
  EXPECT_EQ(log[23], "                end printing table A          ");

  const int run = index_of(log, "     combinations for 3 numbers          ");
  ASSERT_NE(run, -1);
  EXPECT_EQ(log[run + 1], "     10     20     30");
  EXPECT_EQ(log[run + 3],
            " column 2 = combinations of 1st number\t\t\t\t\t" + std::string(33, ' '));
  EXPECT_EQ(log[run + 4], " column 3 = combinations of 2nd number\t" + std::string(12, ' ') +
                              "\t\t\t\t" + std::string(21, ' '));
  EXPECT_EQ(log[run + 9], " " + std::string(56, '_') + "    ");
  EXPECT_EQ(log[run + 10], "        1.        2.        2.        2.");
  EXPECT_EQ(log[run + 17], "        8.        0.        0.        0.");
  const std::vector<std::string> counts(log.begin() + run + 18, log.begin() + run + 28);
  EXPECT_EQ(counts,
            (std::vector<std::string>{
                "    sums of combinations                 ",
                "      9     23     37",
                "  number of combinations for the 3 numbers" + std::string(34, ' '),
                "      3      5      7",
                " number of combinations for the 3 numbers for the prime 2" + std::string(19, ' '),
                "      2      4      4",
                " number of combinations for the 3 numbers for the prime 3" + std::string(19, ' '),
                "      1      1      2",
                " number of combinations for the 3 numbers for the prime 5" + std::string(19, ' '),
                "      0      0      1",
            }));

  const int ordered = index_of(log, " ordered combinations of numbers         ");
  ASSERT_NE(ordered, -1);
  const std::vector<std::string> rows(log.begin() + ordered + 4, log.end());
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "        1.        2.        2.        2.",
                      "        2.        3.        3.        3.",
                      "        3.        4.        4.        4.",
                      "        4.        0.        6.        5.",
                      "        5.        0.        8.        6.",
                      "        6.        0.        0.        8.",
                      "        7.        0.        0.        9.",
                      "       sums of combinations              ",
                      "      9     23     37",
                      " end printing combinations for the 3 numbers  ",
                      " " + std::string(45, '='),
                      "",
                  }));

  const auto screen = h.screen_lines();
  EXPECT_NE(index_of(screen, "   2.    3. +    4. =    7. -    6. =    1."), -1);
  EXPECT_NE(
      index_of(screen, "number of combinations of N1,N2,N3            3           5           7"),
      -1);
  EXPECT_NE(index_of(screen, "ordered combinations for 3 numbers"), -1);
  // Cleared at the end; the counts and numbers stay.
  const TripletData& td = *h.trip;
  for (int r = 1; r <= kTripRows; ++r) {
    ASSERT_EQ(td.a1[r], 0);
    ASSERT_EQ(td.a2[r], 0);
    ASSERT_EQ(td.a3[r], 0);
    ASSERT_EQ(td.comb1[r] + td.comb2[r] + td.comb3[r], 0);
  }
  EXPECT_EQ(td.N3, 30);
  EXPECT_EQ(td.cnt1, 3);
  EXPECT_EQ(td.rowcount, 7);
}

// N1 = N2 = 1000000 and N3 = 1100000: the numbers fill their I7 fields, and
// table A rows open with combinations of five digits (and of six, too wide
// for F6.0: asterisks).  The screen shows each such record whole, the others
// without their first blank, and no digit starts a new page.
TEST(TripletElaboration, MillionsAreShownWholeOnTheScreen) {
  Script script;
  for (int32_t n : {1000000, 1000000, 1100000})
    script.then(
        reverse_answers(n, findp_of(static_cast<int32_t>(std::sqrt(n)), testing::built_tables())));
  script.blank(6000);  // page stops (a key and the pause) and pauses, with some to spare
  Harness h(script.lines);
  bool quit = true;
  ASSERT_TRUE(h.run([&](Session& s) {
    enter_triplet(s);
    s.io.log("(A4)", {"####"});
    s.io.lst({"####"});
    quit = elaborate_triplets(s);
  }));
  EXPECT_FALSE(quit);
  EXPECT_EQ(h.console.screen.find('\f'), std::string::npos);

  auto log = h.log_lines();
  log.erase(log.begin(), log.begin() + index_of(log, "####") + 1);
  auto screen = h.screen_lines();
  screen.erase(screen.begin(), screen.begin() + index_of(screen, "####") + 1);
  EXPECT_EQ(log[1], "100000010000001100000");
  EXPECT_EQ(screen[0], "100000010000001100000");

  // Table A: the log rows as the layout writes them, the screen rows in the
  // same order, each shown from its second character unless a number opens it.
  const int32_t lines = h.trip->cnt3 + 1;
  ASSERT_GT(lines, 7000);
  const std::vector<std::string> table_a(log.begin() + 13, log.begin() + 13 + lines);
  std::vector<std::string> shown;
  int digits = 0, stars = 0;
  for (const auto& r : table_a) {
    digits += r[0] >= '1' && r[0] <= '9';
    stars += r[0] == '*';
    shown.push_back(r[0] == ' ' ? r.substr(1) : r);
  }
  EXPECT_GT(digits, 100);
  EXPECT_GT(stars, 10);
  std::vector<std::string> rows;
  for (const auto& l : screen)
    if (l.find(" +") != std::string::npos && l.find(" =") != std::string::npos) rows.push_back(l);
  EXPECT_EQ(rows, shown);
  EXPECT_EQ(log[13 + lines].substr(0, 23), " sum of last column+1 =");
}

TEST(TripletElaboration, SecondElaborationPrintsZeros) {
  Harness h(triplet_runs().blank(4 + 4).lines);
  ASSERT_TRUE(h.run([&](Session& s) {
    enter_triplet(s);
    elaborate_triplets(s);
    s.io.log("(A4)", {"####"});
    EXPECT_FALSE(elaborate_triplets(s));
  }));
  auto log = h.log_lines();
  log.erase(log.begin(), log.begin() + index_of(log, "####") + 1);
  // Eight lines again (the row counter was left at 7), all zeros.
  for (int i = 13; i < 21; ++i)
    EXPECT_EQ(log[i], "    0.    0. +    0. =    0. -    0. =    0.") << i;
  EXPECT_EQ(log[21], " sum of last column+1 =                           1.");
  // cnt2 comes back from the cleared a2 as 0; the others are kept.
  EXPECT_EQ(log[22], "     number of combinations of N1,N2,N3               3         0         7");
}

TEST(TripletElaboration, QuitInEachTableReturnsToTheMainMenu) {
  // N3 = 200 has more than 20 rows, so each table has a page stop at line 20.
  for (int table = 0; table < 3; ++table) {
    SCOPED_TRACE(table);
    Script s = reverse_answers(100, 4);
    s.then(reverse_answers(100, 4)).then(reverse_answers(200, 6));
    if (table >= 1) s.key("x").blank(1 + 2);  // go on at table A's stop and its end
    if (table >= 2) s.key("x").blank(1 + 1);  // and at the run-order stop and its end
    s.key("q");
    Harness h(s.lines);
    bool quit = false;
    ASSERT_TRUE(h.run([&](Session& s) {
      enter_triplet(s);
      quit = elaborate_triplets(s);
    }));
    EXPECT_TRUE(quit);
    EXPECT_TRUE(h.console.input.empty());
    EXPECT_EQ(h.trip->rowcount, 20);
    const auto log = h.log_lines();
    for (const auto& l : log) EXPECT_EQ(l.find("end printing combinations"), std::string::npos);
    // Nothing cleared: the values of N3 are still there.
    EXPECT_NE(h.trip->a3[1], 0);
  }
}

TEST(TripletElaboration, RunWithoutRowsForN2KeepsItsPrimeCount) {
  // N2 = 3 makes no rows: a2 holds only its prime count, 2.
  Script s = reverse_answers(2, 0);
  s.then(reverse_answers(3, 0)).then(reverse_answers(5, 1)).blank(4);
  Harness h(s.lines);
  ASSERT_TRUE(h.run([&](Session& s) {
    enter_triplet(s);
    s.io.log("(A4)", {"####"});
    elaborate_triplets(s);
  }));
  auto log = h.log_lines();
  log.erase(log.begin(), log.begin() + index_of(log, "####") + 1);
  // One row for 5 (combination 2), then the prime counts 1, 2, 3.
  EXPECT_EQ(log[13], "    2.    0. +    0. =    0. -    1. =   -1.");
  EXPECT_EQ(log[14], "    0.    1. +    2. =    3. -    3. =    0.");
  EXPECT_EQ(log[16], "     number of combinations of N1,N2,N3               0         0         1");
}

// ---------------------------------------------------------------------------
// Pythagorean triplets

TEST(PythagoreanTriplets, FifteenInOrder) {
  Harness h(Script().blank(2).lines);
  ASSERT_TRUE(h.run([](Session& s) { triplets(s); }));
  const std::vector<std::string> expected = transcript("pythagorean_triplets.log");
  EXPECT_EQ(h.log.text, crlf(expected));
  const auto screen = h.screen_lines();
  ASSERT_GE(screen.size(), 19u);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(screen[i], expected[i].substr(1)) << i;
  EXPECT_EQ(count_of(screen, kPause), 2);
  EXPECT_EQ(h.log.text.find(" 36. 27. 45."), std::string::npos);
  EXPECT_TRUE(h.console.input.empty());
}

}  // namespace
}  // namespace ntb
