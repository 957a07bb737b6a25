// Euler1: Euler's function against a totient sieve written here, and the
// records of the command.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "divisors/commands.hpp"
#include "divisors/engine/euler_function.hpp"
#include "support/dialogue.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using ntb::testing::asked;
using ntb::testing::Harness;

TEST(EulerFunction, AgainstATotientSieve) {
  const int32_t top = 100000;
  std::vector<int32_t> phi(top + 1);
  for (int32_t i = 0; i <= top; ++i) phi[i] = i;
  for (int32_t p = 2; p <= top; ++p) {
    if (phi[p] != p) continue;  // not prime
    for (int32_t m = p; m <= top; m += p) phi[m] -= phi[m] / p;
  }
  for (int32_t n = 2; n <= top; ++n) ASSERT_EQ(euler_function(n), phi[n]) << n;
}

TEST(EulerFunction, KnownValues) {
  EXPECT_EQ(euler_function(2), 1);
  EXPECT_EQ(euler_function(12), 4);
  EXPECT_EQ(euler_function(1000000), 400000);
  EXPECT_EQ(euler_function(223092870), 36495360);
  EXPECT_EQ(euler_function(2147483647), 2147483646);
  EXPECT_EQ(euler_function(2147483646), 534600000);  // 2*3^2*7*11*31*151*331
  EXPECT_EQ(euler_function(1073741824), 536870912);  // 2^30
}

const std::string kAsk = "N ?  number >=2,<=2147483647";

TEST(Euler1, ValueOnBothChannels) {
  Harness h({"0", "", "12", ""});
  ASSERT_TRUE(h.run([](Session& s) { Euler1(s); }));
  EXPECT_EQ(h.log.text,
            " Euler function of        \r\n"
            "         12\r\n"
            "          4\r\n"
            " _____________________________________________\r\n");
  const std::vector<std::string> want = {kAsk, asked("0") + kAsk, asked("12") + "        12",
                                         "          4", std::string(45, '_')};
  EXPECT_EQ(h.screen_lines(), want);
}

TEST(Euler1, LargestPrime) {
  Harness h({"2147483647", ""});
  ASSERT_TRUE(h.run([](Session& s) { Euler1(s); }));
  EXPECT_EQ(h.log_lines()[2], " 2147483646");
}

}  // namespace
}  // namespace ntb
