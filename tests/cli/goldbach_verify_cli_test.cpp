// goldbach-verify A B end to end: the row and the records against least p
// found pair by pair with the tests' own primality test, the same on one
// thread and on two, and the exit status 3 with its line on standard error
// when a bound on p (the tests' environment variable) leaves n unverified.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "run_support.hpp"

namespace ntb::cli::test {
namespace {

// The least prime p with n - p prime.
uint64_t least_p(uint64_t n) {
  for (uint64_t p = 2;; ++p)
    if (strong_prime(p) && strong_prime(n - p)) return p;
}

TEST(GoldbachVerifyCommand, RowAndRecordsAgainstPairsTriedOneByOne) {
  struct Range {
    uint64_t a, b;
  };
  for (const Range& g : {Range{4, 20000}, Range{999999999991, 1000000001000},
                         Range{18446744073709551115u, 18446744073709551615u}}) {
    uint64_t checked = 0, worst_n = 0, worst_p = 0;
    std::string records;
    for (uint64_t n = g.a + g.a % 2; n <= g.b && n >= g.a; n += 2) {
      ++checked;
      const uint64_t p = least_p(n);
      if (p > worst_p) {
        worst_n = n, worst_p = p;
        records += std::to_string(n) + " " + std::to_string(p) + " " + std::to_string(n - p) + "\n";
      }
    }
    const std::string row = std::to_string(checked) + " " + std::to_string(worst_n) + " " +
                            std::to_string(worst_p) + " " + std::to_string(worst_n - worst_p) +
                            "\n";
    for (const char* threads : {"1", "2"}) {
      SCOPED_TRACE(::testing::Message() << g.a << " " << threads);
      const std::string a = std::to_string(g.a), b = std::to_string(g.b);
      const Result r = run({"goldbach-verify", a, b, "-t", threads});
      EXPECT_EQ(r.status, 0);
      EXPECT_EQ(r.out, row);
      EXPECT_EQ(r.err, "");
      EXPECT_EQ(run({"goldbach-verify", a, b, "--records", "-t", threads}).out, records);
    }
  }
  const Result csv = run({"goldbach-verify", "5", "5", "--csv"});
  EXPECT_EQ(csv.out, "checked,n,p,q\r\n0,0,0,0\r\n");
}

TEST(GoldbachVerifyCommand, NumberWithoutPrimeGivesStatusThree) {
  // With p up to 5 the first n left is 30 (27 and 25 are composite).
  setenv("NTBENCH_TEST_GOLDBACH_MAX_P", "5", 1);
  const Result r = run({"goldbach-verify", "4", "100"});
  unsetenv("NTBENCH_TEST_GOLDBACH_MAX_P");
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.err,
            "ntbench goldbach-verify: COUNTEREXAMPLE TO GOLDBACH'S CONJECTURE: 9 even numbers "
            "have no prime p with n - p prime, the first 30\n");
  EXPECT_EQ(r.out, "49 12 5 7\n");
}

}  // namespace
}  // namespace ntb::cli::test
