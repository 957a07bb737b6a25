// The commands over 64-bit ranges end to end, at 10^12 and just below 2^64:
// every answer against primes found here by a deterministic Miller-Rabin
// test (run_support.hpp), the index columns from pi(10^12) = 37607912018, the forms without
// them, and the counts equal for 1, 2 and 3 threads.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "run_support.hpp"

namespace ntb::cli {
namespace {

std::vector<uint64_t> primes_in(uint64_t a, uint64_t b) {
  std::vector<uint64_t> v;
  for (uint64_t n = a;; ++n) {
    if (test::strong_prime(n)) v.push_back(n);
    if (n == b) break;
  }
  return v;
}

std::string text(const std::vector<std::vector<uint64_t>>& rows) {
  std::string s;
  for (const auto& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) s += ' ';
      s += std::to_string(row[i]);
    }
    s += '\n';
  }
  return s;
}

TEST(Range64Commands, AnswersAt1e12AndNear2To64OnEveryThreadCount) {
  constexpr uint64_t kT = 1000000000000, kPiT = 37607912018, kTop = UINT64_MAX;
  const std::vector<uint64_t> listed = primes_in(kT, kT + 100), top = primes_in(kTop - 300, kTop);
  const std::vector<uint64_t> window = primes_in(kT, kT + 1000);
  std::vector<std::vector<uint64_t>> indexed, plain, gaps, twins, twins_plain;
  for (size_t i = 0; i < listed.size(); ++i) {
    indexed.push_back({kPiT + 1 + i, listed[i]});
    plain.push_back({listed[i]});
  }
  std::vector<uint64_t> histogram(11);
  for (size_t i = 0; i + 1 < window.size(); ++i) {
    const uint64_t p = window[i], q = window[i + 1], g = q - p;
    if (g <= 10) gaps.push_back({kPiT + 1 + i, p, kPiT + 2 + i, q, g});
    if (g <= 10) ++histogram[g];
    if (g == 2) twins.push_back({kPiT + 1 + i, p, kPiT + 2 + i, q, g});
    if (g == 2) twins_plain.push_back({p, q, g});
  }
  std::vector<std::vector<uint64_t>> histogram_rows, top_plain;
  for (uint64_t g = 1; g <= 10; ++g)
    if (histogram[g] != 0) histogram_rows.push_back({g, histogram[g]});
  for (const uint64_t p : top) top_plain.push_back({p});
  ASSERT_EQ(top.back(), 18446744073709551557u);

  struct Case {
    std::vector<std::string> args;
    std::string out;
    bool threaded;  // also run with --threads 1, 2 and 3
  };
  const std::vector<Case> cases = {
      {{"pi", "1e12", "2^31-1"}, "1000000000000 37607912018\n2147483647 105097565\n", true},
      {{"pi", "2^64-1", "0"}, "18446744073709551615 425656284035217743\n0 0\n", false},
      {{"nth-prime", "1e9", "1"}, "1000000000 22801763489\n1 2\n", true},
      {{"primes", "1e12", "1e12+100"}, text(indexed), false},
      {{"primes", "1e12", "1e12+100", "--no-index"}, text(plain), false},
      {{"primes", "1e12", "1e12+1000", "--count"}, std::to_string(window.size()) + "\n", true},
      {{"primes", "2^64-301", "2^64-1", "--no-index"}, text(top_plain), false},
      {{"primes", "2^64-301", "2^64-1", "--count"}, std::to_string(top.size()) + "\n", true},
      {{"gaps", "1", "10", "1e12", "1e12+1000"}, text(gaps), false},
      {{"gaps", "1", "10", "1e12", "1e12+1000", "--histogram"}, text(histogram_rows), true},
      {{"twins", "1e12", "1e12+1000"}, text(twins), false},
      {{"twins", "1e12", "1e12+1000", "--no-index"}, text(twins_plain), false},
      {{"twins", "1e12", "1e12+1000", "--count"}, std::to_string(twins.size()) + "\n", true},
  };
  for (const Case& c : cases) {
    std::vector<std::vector<std::string>> runs = {c.args};
    for (const char* t : {"1", "2", "3"})
      if (c.threaded) {
        runs.push_back(c.args);
        runs.back().insert(runs.back().end(), {"--threads", t});
      }
    for (const auto& args : runs) {
      std::string out, err;
      EXPECT_EQ(run_in_memory(args, "", out, err), 0) << err;
      EXPECT_EQ(out, c.out) << args[0] << " " << args[1] << " " << args.back();
    }
  }
}

}  // namespace
}  // namespace ntb::cli
