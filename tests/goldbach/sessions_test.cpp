// The Goldbach entries driven through their dialogue with scripted input:
// the records on the session log byte for byte and the screen line by
// line, the questions, the pager and the numbers asked again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "goldbach/commands.hpp"
#include "support/dialogue.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using testing::count_of;
using testing::crlf;
using testing::Harness;
using testing::has_line;
using testing::transcript;
using testing::transcript_log;

// Input for one asknum (the number, then an empty confirmation).
void number(std::vector<std::string>& in, const std::string& n) {
  in.push_back(n);
  in.push_back("");
}

std::vector<std::string> blanks(size_t n) {
  return std::vector<std::string>(n, "");
}

// ---------------------------------------------------------------- Goldbach1

TEST(Goldbach1Session, TheReportOf100) {
  Harness h({"100", "", "", "n"});
  EXPECT_TRUE(h.run([](Session& s) { Goldbach1(s); }));
  EXPECT_EQ(h.log.text, transcript_log("goldbach1_100.log"));
  const auto screen = h.screen_lines();
  EXPECT_EQ(screen.front(), " Even Number ? >10,<=2000000");
  for (const char* l :
       {"  column 2 = ((x^2+x)/2) applied to Phi(N/2)-1 and Phi((N-2)/2)-1          ",
        "_________________________________________",
        "   1              2           3           4            5         ",
        "    100         105.         140.          82.         187.",
        "     98         105.         140.          76.         181.",
        "pairs of primes=difference of column 5          6",
        "pairs of mixed(see source)=                       12",
        "pairs of conposites=                             6.",
        "total pairs of odds(see source)                 24.",
        "do you want io see the pairs of primes ?  yes=(any key) or Not= n/N"})
    EXPECT_TRUE(has_line(screen, l)) << l;
  // "n" ends the routine: no listing, nothing left unread.
  EXPECT_TRUE(h.console.input.empty());
}

TEST(Goldbach1Session, NumbersOutsideTheEvenRangeAreAskedAgain) {
  std::vector<std::string> in;
  for (const char* n : {"7", "4", "2000002", "99", "100"}) number(in, n);
  in.push_back("");
  in.push_back("N");
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { Goldbach1(s); }));
  EXPECT_EQ(h.log.text.find("      Calculate pairs for N=             \r\n    100\r\n"), 0u);
  const std::string prompt = " Even Number ? >10,<=2000000";
  size_t at = 0;
  int prompts = 0;
  while ((at = h.console.screen.find(prompt, at)) != std::string::npos) ++prompts, ++at;
  EXPECT_EQ(prompts, 5);
}

TEST(Goldbach1Session, ScanDetailAndTheThreeListingsOf48) {
  std::vector<std::string> in;
  number(in, "48");
  for (const char* k : {"", "y", "", "y", "", "Y"}) in.push_back(k);
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { Goldbach1(s); }));
  const auto log = h.log_lines();
  const std::vector<std::string> scan = {
      "                               scanning for          48",
      "    48   29   19    7    7",
      "    48   31   17    6   13",
      "    48   37   11    4   17",
      "    48   41    7    3   20",
      "    48   43    5    2   22",
  };
  EXPECT_EQ(std::vector(log.begin() + 3, log.begin() + 9), scan);
  const std::string tail = transcript_log("goldbach1_48_listings.log");
  ASSERT_GE(h.log.text.size(), tail.size());
  EXPECT_EQ(h.log.text.substr(h.log.text.size() - tail.size()), tail);
  const auto screen = h.screen_lines();
  EXPECT_TRUE(has_line(screen, "         48          43           5           2          22"));
  EXPECT_TRUE(has_line(screen, "          3          27          21"));
  EXPECT_TRUE(
      has_line(screen, "do you want io see the pairs of composites?  yes = any key) no= N/n"));
}

TEST(Goldbach1Session, NoScanDetailFrom50) {
  Harness h({"50", "", "", "n"});
  h.run([](Session& s) { Goldbach1(s); });
  EXPECT_EQ(h.log.text.find("scanning for"), std::string::npos);
  EXPECT_EQ(h.log_lines()[3], transcript("goldbach1_100.log")[3]);  // the legend's first line
}

TEST(Goldbach1Session, TheListingsOf100) {
  std::vector<std::string> in;
  number(in, "100");
  for (const char* k : {"", "y", "", "y", "", "y"}) in.push_back(k);
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { Goldbach1(s); }));
  const std::string log = h.log.text;
  const size_t mixed = log.find("             pairs of mixed for N=           \r\n    100\r\n");
  ASSERT_NE(mixed, std::string::npos);
  EXPECT_NE(
      log.find(crlf({"      1     97      3", "      2     89     11", "      3     83     17",
                     "      4     71     29", "      5     59     41", "      6     53     47",
                     " _____________________________________________"})),
      std::string::npos);
  EXPECT_EQ(
      log.find(crlf({"      1     95      5", "      2     93      7", "      3     87     13",
                     "      4     81     19", "      5     77     23"}),
               mixed),
      mixed + 56);
  EXPECT_NE(log.find("     12     "), std::string::npos);
  EXPECT_EQ(log.find("     13     ", mixed), std::string::npos);
  const std::string comps =
      crlf({"     pairs of conposites for N=          ", "    100", "      1     91      9",
            "      2     85     15", "      3     75     25", "      4     65     35",
            "      5     55     45", "      6     51     49",
            " _____________________________________________"});
  EXPECT_EQ(log.substr(log.size() - comps.size()), comps);
}

TEST(Goldbach1Session, AQuitAtThePagerAsksForANewNumber) {
  // 1000 has 28 prime pairs: the pager stops at the 20th row.
  std::vector<std::string> in;
  number(in, "1000");
  in.push_back("");   // pause
  in.push_back("y");  // prime pairs
  in.push_back("q");  // the pager at row 20
  number(in, "100");
  in.push_back("");
  in.push_back("n");
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { Goldbach1(s); }));
  const auto log = h.log_lines();
  EXPECT_EQ(count_of(log, "      Calculate pairs for N=             "), 2);
  EXPECT_TRUE(has_line(log, "     20    653    347"));
  EXPECT_FALSE(has_line(log, "     21    647    353"));
  EXPECT_TRUE(has_line(h.screen_lines(), testing::kStop));
  EXPECT_TRUE(has_line(log, "     100         105.         140.          82.         187."));
}

TEST(Goldbach1Session, TwiceAPrimeCountsItsPairOnce) {
  std::vector<std::string> in;
  number(in, "26");
  for (const char* k : {"", "y", "", "n"}) in.push_back(k);
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { Goldbach1(s); }));
  const auto log = h.log_lines();
  // 26 = 3 + 23 = 7 + 19 = 13 + 13; mixed: 5 + 21, 11 + 15, 17 + 9.
  EXPECT_TRUE(has_line(log, "pairs of primes=delta of column 5                     3"));
  EXPECT_TRUE(has_line(log, " pairs of mixed(see source)=                          3"));
  EXPECT_TRUE(has_line(log, " pairs of conposites=                             0."));
  EXPECT_TRUE(has_line(log, "      3     13     13"));
  EXPECT_FALSE(has_line(log, "      4     13     13"));
}

// ---------------------------------------------------------------- Goldbach2..4

TEST(EqualCountsSession, PrimePairsOnceAndAKAbove100) {
  std::vector<std::string> in;
  number(in, "101");
  number(in, "1");
  in.push_back("");
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { Goldbach2(s); }));
  EXPECT_EQ(h.log.text,
            crlf({"     List of numbers which have the same number of pairs of primes          ",
                  "     Number of pairs of primes =                                            ",
                  "      1", "      1      6", "      2      8", "      3     12",
                  "        numbers with        1            pairs =         3",
                  " _____________________________________________"}));
  const auto screen = h.screen_lines();
  EXPECT_EQ(screen[0], "Number of pairs of primes? >1,<=100");
  EXPECT_TRUE(has_line(screen, "          2           8"));
  EXPECT_TRUE(has_line(screen, "numbers with          1 pairs =            3"));
}

TEST(EqualCountsSession, CompositePairsNone) {
  std::vector<std::string> in;
  number(in, "0");
  in.push_back("");
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { Goldbach3(s); }));
  const auto log = h.log_lines();
  EXPECT_EQ(log[0], " List of numbers which have the same number of pairs of composites          ");
  EXPECT_EQ(log[1], " Number of pairs of composites =                                            ");
  EXPECT_EQ(log[2], "      0");
  EXPECT_EQ(log[3], "      1      6");
  EXPECT_EQ(log[14], "     12     38");
  EXPECT_EQ(log[15], "        numbers with        0            pairs =        12");
}

TEST(EqualCountsSession, MixedPairsOnce) {
  std::vector<std::string> in;
  number(in, "1");
  in.push_back("");
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { Goldbach4(s); }));
  EXPECT_EQ(h.log.text,
            crlf({"      List of numbers which have the same number of pairs of mixeed         ",
                  "      Number of pairs of mixed =                                            ",
                  "      1", "      1     12", "      2     14", "      3     16", "      4     18",
                  "      5     24", "        numbers with        1            pairs =         5",
                  " _____________________________________________"}));
  EXPECT_EQ(h.screen_lines()[0], "Number of pairs of mixed ? >=0,<=100");
}

TEST(EqualCountsSession, AQuitAtThePagerAsksForKAgain) {
  std::vector<std::string> in;
  number(in, "9");  // 23 numbers have 9 prime pairs
  in.push_back("q");
  number(in, "1");
  in.push_back("");
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { Goldbach2(s); }));
  const auto log = h.log_lines();
  EXPECT_TRUE(std::any_of(log.begin(), log.end(),
                          [](const std::string& l) { return l.rfind("     20 ", 0) == 0; }));
  EXPECT_FALSE(std::any_of(log.begin(), log.end(),
                           [](const std::string& l) { return l.rfind("     21 ", 0) == 0; }));
  EXPECT_EQ(
      count_of(log, "     Number of pairs of primes =                                            "),
      2);
  EXPECT_EQ(log.back(), "");
  EXPECT_EQ(log[log.size() - 3], "        numbers with        1            pairs =         3");
}

// ---------------------------------------------------------------- mixed1, mixed, composite

TEST(MixedSession, TotalScanningOf100) {
  Harness h(blanks(4));
  h.s.choice = 100;
  EXPECT_TRUE(h.run([](Session& s) {
    double N = 100, N2 = 98;
    mixed1(s, N, N2);
  }));
  EXPECT_EQ(h.log.text, crlf({"  calculate with total scanning for         100.         98.",
                              "         100.        299.", "          98.        287.",
                              " total pairs mixed of      100. =        12.",
                              " _____________________________________________"}));
  const auto screen = h.screen_lines();
  EXPECT_EQ(screen[0], " calculate with total scanning for         100.         98.");
  EXPECT_EQ(screen[1], "        100.        299.");
  EXPECT_TRUE(has_line(screen, "total pairs mixed of      100. =        12."));
  EXPECT_TRUE(h.console.input.empty());
}

TEST(MixedSession, AnOddOrOutOfRangeNumberIsReadAgain) {
  std::vector<std::string> in;
  number(in, "2000002");
  number(in, "100");
  for (const auto& b : blanks(4)) in.push_back(b);
  Harness h(in);
  double N = 99, N2 = 97;
  EXPECT_TRUE(h.run([&](Session& s) { mixed1(s, N, N2); }));
  EXPECT_EQ(N, 100);
  EXPECT_EQ(N2, 98);
  EXPECT_EQ(h.s.choice, 100);
  EXPECT_EQ(h.log_lines()[0], "  calculate with total scanning for         100.         98.");
  // Only asknum's own prompt is shown while N is read again.
  EXPECT_EQ(h.screen_lines()[0].rfind("enter number", 0), 0u);
}

TEST(MixedSession, HalvesOf100) {
  Harness h(blanks(40));
  EXPECT_TRUE(h.run([](Session& s) {
    double N = 100, N2 = 98;
    mixed(s, N, N2);
  }));
  const std::string log = h.log.text;
  const std::string first = crlf(
      {"                    now find pair of mixed for", "         100.",
       "                       calculating for                     100.",
       " _____________________________________________",
       "   total combinations between prime and composites for the first half of N =        140",
       " _____________________________________________",
       " start scanning composites for the second half",
       " column 1 = sequential number(index of composite)                           ",
       "  column 2 = conposite                                                      ",
       "   column 3 =delta between n and conposite                                  ",
       "   column 4 = primes up to delta                                            ",
       "   column 5 = total number of pairs                                         ",
       "          1          2         3        4        5                          ",
       " _____________________________________________________________              ",
       "         11        51        49        14        14"});
  EXPECT_EQ(log.substr(0, first.size()), first);
  for (const char* l :
       {"         24        95         5         2       112",
        "         100.       140       112        252.",
        "                      end scanning composites\t",
        "      start scanning primes of the second half",
        " column 1 = sequential number(index of prime) ",
        "  column 3 =delta between n and prime                                       ",
        "         16        53        47         9         9",
        "         24        89        11         1        47",
        "                                                   found for scanning primes         47",
        "         100.        47        299.",
        "  total combinations between prime and composites for the first half of N1 =        140",
        "          98.       140       104        244.", "          98.        43        287."})
    EXPECT_NE(log.find(std::string(l) + "\r\n"), std::string::npos) << l;
  const std::string last = crlf(
      {"                        pairs of mixed from 6 to N         299.",
       "                       pairs of mixed from 6 to N-2        287.",
       "                                                         pairs of mixed of N         12",
       " _____________________________________________"});
  EXPECT_EQ(log.substr(log.size() - last.size()), last);
  const auto screen = h.screen_lines();
  EXPECT_TRUE(has_line(
      screen, "total combinations between prime and composites for the first half of N = "));
  EXPECT_TRUE(has_line(screen, "        140"));
  EXPECT_TRUE(has_line(
      screen, " column 3 = delta between n and conposite                                  "));
  EXPECT_TRUE(has_line(
      screen, "total pairs mixed of      100.000000000000000 =        12.000000000000000"));
  EXPECT_TRUE(has_line(screen, " for N =      100.000000000000000"));
  EXPECT_TRUE(has_line(screen, "pairs of mixed of N          12"));
  // The pager follows the index in yc: the first stop comes at index 20.
  const auto stop = std::find(screen.begin(), screen.end(), testing::kStop);
  ASSERT_NE(stop, screen.end());
  EXPECT_EQ(*(stop - 1), "        20        85        15         5        99");
}

TEST(MixedSession, AQuitAtThePagerLeavesAtOnce) {
  std::vector<std::string> in = blanks(1);  // the pause after the first half
  in.push_back("q");
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) {
    double N = 100, N2 = 98;
    mixed(s, N, N2);
  }));
  const auto log = h.log_lines();
  EXPECT_EQ(log[log.size() - 2], "         20        85        15         5        99");
}

TEST(CompositeSession, HalvesOf100) {
  Harness h(blanks(1));
  EXPECT_TRUE(h.run([](Session& s) {
    double N = 100, N2 = 98;
    composite(s, N, N2);
  }));
  EXPECT_EQ(h.log.text,
            crlf({" number of composite\tpairs for N   =               ", "       100.",
                  "    total pairs are calculated for                 ", "       100.       98.",
                  "          combinations for 1/2(N)   =              ", "        55.",
                  " total pairs for\t                                  ", "       100.      114.",
                  "          combinations for 1/2(N)   =              ", "        55.",
                  " total pairs for\t                                  ", "        98.      108.",
                  "     total pairs composites of       100.  =         6",
                  " _____________________________________________"}));
  const auto screen = h.screen_lines();
  EXPECT_EQ(screen[0], "number of composite\tpairs for N   =               ");
  EXPECT_EQ(screen[1], "      100.");
  EXPECT_TRUE(has_line(screen, "    total pairs composites of       100.  =         6"));
}

TEST(CompositeSession, TheTopOfTheRange) {
  // 2000000 draws the empty slot of yc into the search; the count stays exact.
  Harness h(blanks(1));
  EXPECT_TRUE(h.run([](Session& s) {
    double N = 2000000, N2 = 1999998;
    composite(s, N, N2);
  }));
  const auto log = h.log_lines();
  EXPECT_EQ(log[log.size() - 3].substr(0, 45), "     total pairs composites of   2000000.  = ");
  // Brute force: odd composites a <= b, a + b = 2000000.
  std::vector<bool> comp(2000001, false);
  for (int64_t p = 3; p * p <= 2000000; p += 2)
    for (int64_t m = p * p; m <= 2000000; m += 2 * p) comp[m] = true;
  int32_t pairs = 0;
  for (int32_t a = 9; a <= 1000000; a += 2) pairs += comp[a] && comp[2000000 - a];
  EXPECT_EQ(std::stoi(log[log.size() - 3].substr(45)), pairs);
}

// ---------------------------------------------------------------- gold, gold1

TEST(GoldSession, TwentyWithEverything) {
  std::vector<std::string> in;
  number(in, "21");  // odd: read again
  number(in, "20");
  number(in, "1");
  for (const auto& b : blanks(40)) in.push_back(b);
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { gold(s); }));
  EXPECT_EQ(h.log.text, transcript_log("gold_20.log"));
  const auto screen = h.screen_lines();
  EXPECT_TRUE(has_line(screen, "enter 1 to print all data  otherwise  enter 0"));
  EXPECT_TRUE(has_line(screen, "       6.000000000000000"));
  EXPECT_TRUE(has_line(screen, "      13.000000000000000"));
  EXPECT_TRUE(has_line(screen, "         V E C T O R    R E A D Y"));
  EXPECT_TRUE(has_line(screen, "there are        8.000000000000000 prime numbers"));
  EXPECT_TRUE(
      has_line(screen, "    5          0 |    6          3 |    7          0 |    8         10"));
}

TEST(GoldSession, Gold1TwentyWithEverything) {
  std::vector<std::string> in;
  number(in, "20");
  number(in, "1");
  for (const auto& b : blanks(40)) in.push_back(b);
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { gold1(s); }));
  const auto log = h.log_lines();
  EXPECT_EQ(log[2], "            20.");
  EXPECT_EQ(log[4], "             7.            11.");
  EXPECT_EQ(log[5], " the set of numbers with 3 and 4 divisors of             77.");
  EXPECT_EQ(log[8], "             6.");
  EXPECT_EQ(log[11], "      3^ 1. *      5^1");
  EXPECT_EQ(log[21], "      3^ 2.");
  EXPECT_TRUE(has_line(
      log,
      "     1             1. |    2             8. |    3             3. |    4            10."));
  EXPECT_TRUE(has_line(
      log, "  the sum of selected numbers with 3 and 4 divisors = the total pairs of primes "));
  EXPECT_TRUE(has_line(log, "            13."));
  EXPECT_TRUE(has_line(
      log, "                ordered list                                                    "));
  std::vector<std::string> numbers;
  const auto at =
      std::find(log.begin(), log.end(),
                "                 Not ordered list                                               ");
  ASSERT_NE(at, log.end());
  for (auto it = at + 1; it != at + 14; ++it) numbers.push_back(it->substr(10, 10));
  const std::vector<std::string> want = {"        15", "        21", "        33", "        39",
                                         "        51", "         9", "        35", "        55",
                                         "        65", "        25", "        77", "        91",
                                         "        49"};
  EXPECT_EQ(numbers, want);
  EXPECT_EQ(log[log.size() - 2], " _____________________________________________");
  const auto screen = h.screen_lines();
  EXPECT_TRUE(has_line(screen, "there are           8 prime numbers"));
  EXPECT_TRUE(has_line(
      screen, "                ordered list                                                   "));
  EXPECT_FALSE(has_line(screen, "       6.000000000000000"));  // no running total
}

TEST(GoldSession, NoQuestionFrom2001AndAQuitLeaves) {
  std::vector<std::string> in;
  number(in, "2002");
  for (const auto& b : blanks(6)) in.push_back(b);
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { gold(s); }));
  const auto screen = h.screen_lines();
  EXPECT_FALSE(has_line(screen, "enter 1 to print all data  otherwise  enter 0"));
  EXPECT_EQ(h.log.text.find("Not ordered list"), std::string::npos);
  EXPECT_EQ(h.log.text.find("2^ 1.*"), std::string::npos);

  std::vector<std::string> quit;
  number(quit, "20");
  number(quit, "1");
  quit.push_back("");   // pause after the central primes
  quit.push_back("q");  // the pager at the 10th entry
  Harness q(quit);
  EXPECT_TRUE(q.run([](Session& s) { gold(s); }));
  const auto log = q.log_lines();
  EXPECT_EQ(log[log.size() - 3], "      2^ 1.*      5^      2");
  EXPECT_EQ(log[log.size() - 2], " _____________________________________________");
}

TEST(GoldSession, TheLimitOf2000EightDivisorEntries) {
  std::vector<std::string> in;
  number(in, "2000");
  number(in, "1");
  for (const auto& b : blanks(3000)) in.push_back(b);
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { gold(s); }));
  const auto log = h.log_lines();
  // The numbers 2pq are stored while the serial number is below 2000; it
  // reaches 2000 during p = 19, after 1994 of them and six numbers 2p^2.
  // The other 161 odd primes up to 1000 still give their 2p^2, so the
  // lists run to 2161 and every row holds a stored entry.
  const auto at =
      std::find(log.begin(), log.end(),
                "                 Not ordered list                                               ");
  ASSERT_NE(at, log.end());
  ASSERT_GT(log.end() - at, 2162);
  EXPECT_EQ((at + 2161)->substr(0, 10), "      2161");
  EXPECT_EQ(*(at + 2162), " _____________________________________________");
  for (auto it = at + 1; it != at + 2162; ++it) ASSERT_NE(it->substr(10, 10), "         0") << *it;
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& l) {
                            return l.rfind("      2^ 1.*", 0) == 0 && l.size() > 30;
                          }),
            1994);
}

}  // namespace
}  // namespace ntb

namespace ntb {
namespace {

// Every pause, pager stop and question of a run takes exactly one line of
// input: a script made of just those lines runs to the end and leaves none.
TEST(GoldbachDialogues, EachRunReadsExactlyItsInput) {
  auto script = [](std::initializer_list<const char*> numbers, size_t more) {
    std::vector<std::string> in;
    for (const char* n : numbers) number(in, n);
    for (const auto& b : blanks(more)) in.push_back(b);
    return in;
  };
  struct Case {
    const char* name;
    std::vector<std::string> in;
    void (*run)(Session&);
  };
  const Case cases[] = {
      // pause; the pager at entry 10 (key, pause); three closing pauses; the
      // pager at the first ordered row (key, pause); the pause after the sums;
      // the end
      {"gold", script({"20", "1"}, 10), [](Session& s) { gold(s); }},
      // pause; the pager at the tenth pq (key, pause); three closing pauses,
      // one more before the lists; the pager at the seventh ordered row; one
      // pause
      {"gold1", script({"20", "1"}, 10), [](Session& s) { gold1(s); }},
      // per pass: the pause after the first half, the pager at index 20,
      // the pause after the composites, two pauses; then one and two
      {"mixed", script({}, 15),
       [](Session& s) {
         double N = 100, N2 = 98;
         mixed(s, N, N2);
       }},
      {"composite", script({}, 1),
       [](Session& s) {
         double N = 100, N2 = 98;
         composite(s, N, N2);
       }},
      {"Goldbach2", script({"1"}, 1), [](Session& s) { Goldbach2(s); }},
      // pause; three questions; a pause after each of the first two listings
      {"Goldbach1", script({"100"}, 6), [](Session& s) { Goldbach1(s); }},
  };
  for (const Case& c : cases) {
    Harness h(c.in);
    EXPECT_TRUE(h.run(c.run)) << c.name;
    EXPECT_TRUE(h.console.input.empty()) << c.name << ": " << h.console.input.size() << " left";
  }
}

// The counts of gold at 2000000 against a sieve.  A `removed` prime counts
// as a composite, as on a table it was taken out of; its marker then sits in
// slot 148500, below the primes from y(148501) up, so a walk that ends among
// those counts the marker as one more q (the counts are index distances):
// once for each odd prime p up to 2000000 - y(148501).
void expect_top_of_the_range(Harness& h, int32_t removed) {
  const auto log = h.log_lines();
  std::vector<bool> comp(2000001, false);
  for (int64_t p = 3; p * p <= 2000000; p += 2)
    for (int64_t m = p * p; m <= 2000000; m += 2 * p) comp[m] = true;
  if (removed > 0) comp[removed] = true;
  const int32_t past_marker = removed > 0 ? 2000000 - h.tables->y[148501] : 0;
  std::vector<int64_t> odd_primes(2000001, 0);
  for (int32_t x = 1; x <= 2000000; ++x)
    odd_primes[x] = odd_primes[x - 1] + (x % 2 == 1 && x >= 3 && !comp[x]);
  int64_t total = 0, squares = 0;
  for (int32_t p = 3; p <= 1000000; p += 2)
    if (!comp[p])
      total += odd_primes[2000000 - p] - odd_primes[p - 1] + (p <= past_marker), ++squares;
  char row2[80];
  std::snprintf(row2, sizeof row2, "     5          0 |    6%11lld |    7          0 |    8%11lld",
                static_cast<long long>(squares), static_cast<long long>(total - squares));
  EXPECT_TRUE(has_line(log, row2)) << row2;
  EXPECT_GT(total - squares, 2147483647);
  char want[32];
  std::snprintf(want, sizeof want, "%12lld.", static_cast<long long>(total));
  EXPECT_TRUE(has_line(log, want)) << want;
}

TEST(GoldSession, TheTopOfTheRangeKeepsEveryCount) {
  // At 2000000 the count of 8-divisor numbers passes 2^31; the table shows
  // it whole in its ten columns and the total is the brute-force total.
  std::vector<std::string> in;
  number(in, "2000000");
  for (const auto& b : blanks(6)) in.push_back(b);
  Harness h(in);
  EXPECT_TRUE(h.run([](Session& s) { gold(s); }));
  expect_top_of_the_range(h, 0);
}

TEST(GoldSession, TheTopOfTheRangeAfterAPrimeIsTakenOut) {
  // Main-menu entry 6 at position 100 (541): every walk of the scan ends
  // on the edited table, and the counts are those of the primes without 541.
  std::vector<std::string> in;
  number(in, "2000000");
  for (const auto& b : blanks(6)) in.push_back(b);
  Harness h(in);
  take_out(*h.tables, 100);
  build_yc(*h.tables, 1, 100, 0);
  EXPECT_TRUE(h.run([](Session& s) { gold(s); }));
  expect_top_of_the_range(h, 541);
}

}  // namespace
}  // namespace ntb
