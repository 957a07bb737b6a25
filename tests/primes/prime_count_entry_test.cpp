// Primes-submenu entry 1: the prime count of one N on both channels, on the
// table as built and on an edited one.
#include <gtest/gtest.h>

#include <string>

#include "numtheory/tables/tables.hpp"
#include "primes/commands.hpp"
#include "support/dialogue.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

bool is_time_stamp(const std::string& line) {
  // " h:mm:ss" in I2 fields: two characters, ':', two, ':', two.
  if (line.size() != 8 || line[2] != ':' || line[5] != ':') return false;
  for (int i : {0, 1, 3, 4, 6, 7})
    if (!(line[i] == ' ' || (line[i] >= '0' && line[i] <= '9'))) return false;
  return true;
}

TEST(PrimeCountEntry, AsksAgainBelowElevenAndReportsOnBothChannels) {
  ntb::testing::Harness h({"10", "", "11", "", ""});
  ASSERT_TRUE(h.run([](Session& s) { prime_count_entry(s); }));
  const auto lines = h.screen_lines();
  const auto screen = h.screen_lines();
  ASSERT_EQ(screen.size(), 7u);
  // Two entries asked and confirmed; the reads stand in for the line breaks.
  EXPECT_EQ(screen[0],
            ntb::testing::asked("10") + ntb::testing::asked("11") + "Please wait few seconds");
  EXPECT_TRUE(is_time_stamp(screen[1])) << screen[1];
  EXPECT_EQ(screen[2], "       5.");  // F10.0, its first blank taken as carriage control
  EXPECT_EQ(screen[3], std::string(18, ' ') + "  prime numbers up to         11.");
  EXPECT_TRUE(is_time_stamp(screen[4])) << screen[4];
  EXPECT_EQ(screen[5], ntb::testing::kPause);
  EXPECT_EQ(screen[6], "");
  EXPECT_EQ(h.log.text, std::string(19, ' ') + "  prime numbers up to         11.\r\n" +
                            "        5.\r\n" + std::string(7, ' ') + std::string(39, '_') + "\r\n");
  EXPECT_TRUE(h.console.input.empty());
}

TEST(PrimeCountEntry, TopOfTheRange) {
  ntb::testing::Harness h({"2147483647", "", ""});
  ASSERT_TRUE(h.run([](Session& s) { prime_count_entry(s); }));
  const auto log = h.log_lines();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[0], std::string(19, ' ') + "  prime numbers up to 2147483647.");
  EXPECT_EQ(log[1], "105097565.");
  const auto screen = h.screen_lines();
  ASSERT_GE(screen.size(), 4u);
  // The whole count on the screen: a count that fills its field gives no
  // digit to carriage control.
  EXPECT_EQ(screen[2], "105097565.");
  EXPECT_EQ(h.console.screen.find('\f'), std::string::npos);
}

TEST(PrimeCountEntry, EditedTableCountsWhatTheTableHolds) {
  ntb::testing::Harness h({"1000", "", ""});
  take_out(*h.tables, 6);  // 13 out
  ASSERT_TRUE(h.run([](Session& s) { prime_count_entry(s); }));
  EXPECT_EQ(h.log_lines()[1], std::string(10 - 4, ' ') + "185.");
}

}  // namespace
}  // namespace ntb
