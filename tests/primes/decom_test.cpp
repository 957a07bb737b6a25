// decom: the prime factors of one number, on both channels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "primes/commands.hpp"
#include "support/dialogue.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using ntb::testing::asked;
using ntb::testing::Harness;

const std::string kAsk = "N ?  number >=2,<=2147483647";

TEST(Decom, FactorsOf360AfterAskingAgainBelowTwo) {
  Harness h({"1", "", "0", "", "360", ""});
  ASSERT_TRUE(h.run([](Session& s) { decom(s); }));
  EXPECT_EQ(h.log.text,
            "  prime factors of\r\n"
            "        360\r\n"
            "          2          3\r\n"
            "          3          2\r\n"
            "          5          1\r\n"
            " _____________________________________________\r\n");
  const std::vector<std::string> want = {kAsk,
                                         asked("1") + kAsk,
                                         asked("0") + kAsk,
                                         asked("360") + "       360",
                                         "         2          3",
                                         "         3          2",
                                         "         5          1",
                                         std::string(45, '_')};
  EXPECT_EQ(h.screen_lines(), want);
}

TEST(Decom, LargestPrime) {
  Harness h({"2147483647", ""});
  ASSERT_TRUE(h.run([](Session& s) { decom(s); }));
  const auto log = h.log_lines();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[1], " 2147483647");
  EXPECT_EQ(log[2], " 2147483647          1");
  EXPECT_EQ(h.screen_lines()[2], "2147483647          1");  // first blank is carriage control
}

}  // namespace
}  // namespace ntb
