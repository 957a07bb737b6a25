// goldbach N above the workbench's tables: the counts and the --list of the
// 64-bit sieve against a sieve of Eratosthenes written here, one row per N
// given, and the same answers on one thread and on two.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "run_support.hpp"

namespace ntb::cli::test {
namespace {

TEST(Goldbach64, CountsAndListAboveTheTablesAgainstASieve) {
  constexpr uint32_t kTop = 6000000;
  std::vector<bool> composite(kTop + 1, false);
  composite[0] = composite[1] = true;
  for (uint32_t p = 2; p * p <= kTop; ++p)
    if (!composite[p])
      for (uint32_t m = p * p; m <= kTop; m += p) composite[m] = true;
  // 2000002 is the least N above the tables; the others are around 4 mod 30
  // and 0 mod 30 and one is twice a prime.
  const std::vector<uint32_t> ns = {2000002, 2000004, 3000000, 4999994, 5999998};
  std::vector<std::string> args = {"goldbach"};
  std::string want;
  std::string list_want;
  for (const uint32_t n : ns) {
    args.push_back(std::to_string(n));
    uint64_t prime = 0, mixed = 0, both = 0;
    for (uint32_t a = 3; a <= n / 2; a += 2) {
      const int primes = !composite[a] + !composite[n - a];
      (primes == 2 ? prime : primes == 1 ? mixed : both) += 1;
      if (n == ns[0] && primes == 2)
        list_want += std::to_string(a) + " " + std::to_string(n - a) + "\n";
    }
    want += std::to_string(n) + " " + std::to_string(prime) + " " + std::to_string(mixed) + " " +
            std::to_string(both) + "\n";
  }
  for (const char* threads : {"1", "2"}) {
    SCOPED_TRACE(threads);
    std::vector<std::string> a = args;
    a.insert(a.end(), {"-t", threads});
    const Result r = run(a);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, want);
    EXPECT_EQ(r.err, "");
    const Result l = run({"goldbach", "2000002", "--list", "--threads", threads});
    EXPECT_EQ(l.out, list_want);
  }
  // A larger N: one thread and two agree, and the CSV header is today's.
  const Result one = run({"goldbach", "1e8+2", "2^27", "1e8", "--csv", "-t", "1"});
  const Result two = run({"goldbach", "1e8+2", "2^27", "1e8", "--csv", "-t", "2"});
  EXPECT_EQ(one.out, two.out);
  EXPECT_EQ(one.out.substr(0, one.out.find('\r')), "n,prime_pairs,mixed_pairs,composite_pairs");
  EXPECT_NE(one.out.find("100000000,291400,"), std::string::npos);  // known count of 10^8
}

}  // namespace
}  // namespace ntb::cli::test
