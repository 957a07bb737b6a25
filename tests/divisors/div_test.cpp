// The ordered divisors of one number: the list against trial division and
// the factorization, and the div dialogue with its exact records.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "divisors/commands.hpp"
#include "divisors/engine/divisor_pairs.hpp"
#include "numtheory/factor/factor.hpp"
#include "support/dialogue.hpp"
#include "support/scripted_console.hpp"

namespace ntb {
namespace {

using testing::full_run;
using testing::Harness;
using testing::kLogRule;
using testing::kPause;

// Count and sum of the divisors of n from its factorization.
void tau_sigma(int32_t n, int64_t& tau, int64_t& sigma) {
  Factors f;
  primefac(n, f);
  tau = 1;
  sigma = 1;
  for (int i = 1; i <= f.nf; ++i) {
    tau *= f.e[i] + 1;
    int64_t s = 1, pw = 1;
    for (int j = 1; j <= f.e[i]; ++j) s += (pw *= f.f[i]);
    sigma *= s;
  }
}

// Ascending, every entry a divisor, as many as tau and adding up to sigma.
void expect_divisors(int32_t N) {
  static DivisorList dl;
  ordered_divisors(N, dl);
  int64_t tau = 0, sigma = 0;
  tau_sigma(N, tau, sigma);
  ASSERT_EQ(dl.m, tau) << N;
  int64_t sum = 0;
  for (int32_t c = 1; c <= dl.m; ++c) {
    ASSERT_EQ(N % dl.D[c], 0) << N;
    if (c > 1) {
      ASSERT_LT(dl.D[c - 1], dl.D[c]) << N;
    }
    sum += dl.D[c];
  }
  ASSERT_EQ(sum, sigma) << N;
  ASSERT_EQ(dl.D[1], 1);
  ASSERT_EQ(dl.D[dl.m], N);
}

TEST(OrderedDivisors, SmallNumbersMatchTrialDivision) {
  static DivisorList dl;
  for (int32_t N = 1; N <= 3000; ++N) {
    ordered_divisors(N, dl);
    std::vector<int32_t> expect;
    for (int32_t i = 1; i <= N; ++i)
      if (N % i == 0) expect.push_back(i);
    ASSERT_EQ(std::vector<int32_t>(dl.D.begin() + 1, dl.D.begin() + 1 + dl.m), expect) << N;
  }
}

TEST(OrderedDivisors, RandomNumbersMatchTheFactorization) {
  std::mt19937 rng(3);
  for (int i = 0; i < 300; ++i)
    expect_divisors(std::uniform_int_distribution<int32_t>(1, 2147483647)(rng));
  for (int32_t N : {2147483647, 2147483646, 2095133040, 1073741824, 2147395600, 46341 * 46339})
    expect_divisors(N);
}

TEST(OrderedDivisors, FullEveryNumberUpTo200000) {
  const int32_t step = full_run() ? 1 : 97;
  for (int32_t N = 1; N <= 200000; N += step) expect_divisors(N);
}

TEST(OrderedDivisors, MostDivisorsFillTheArray) {
  static DivisorList dl;
  ordered_divisors(2095133040, dl);
  EXPECT_EQ(dl.m, kMaxDivisors);
  EXPECT_EQ(dl.D[1600], 2095133040);
  EXPECT_EQ(dl.D[1599], 2095133040 / 2);
}

// --- the dialogue ---

std::string row(int32_t c, int32_t d, int w1, int w2) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%*d%*d", w1, c, w2, d);
  return buf;
}

// N, the pause after the search, then the closing pauses.
std::vector<std::string> script(int32_t N) {
  return {std::to_string(N), "", "", "", "", ""};
}

TEST(DivSession, TwelveListsSixDivisorsAndTheirSum) {
  Harness h(script(12));
  ASSERT_TRUE(h.run([](Session& s) { divisors_of_one(s); }));
  const int32_t d[] = {1, 2, 3, 4, 6, 12};
  std::vector<std::string> log = {"    divisors of         12"};
  for (int c = 1; c <= 6; ++c) log.push_back(row(c, d[c - 1], 5, 10));
  log.push_back("      sum of divisors           28.");
  log.push_back(kLogRule);
  log.push_back("");
  EXPECT_EQ(h.log_lines(), log);

  const auto scr = h.screen_lines();
  ASSERT_EQ(scr.size(), 13u);
  EXPECT_EQ(scr[0], testing::asked("12") + kPause);
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(scr[c], row(c, d[c - 1], 11, 12));
  EXPECT_EQ(scr[7], "     sum of divisors           28.");
  EXPECT_EQ(scr[8], kPause);
  EXPECT_EQ(scr[9], std::string(45, '_'));
  EXPECT_EQ(scr[10], kPause);
  EXPECT_EQ(scr[11], kPause);
  EXPECT_TRUE(h.console.input.empty());
}

TEST(DivSession, SquaresListTheRootOnce) {
  const struct {
    int32_t N;
    std::vector<int32_t> d;
    const char* sum;
  } cases[] = {{16, {1, 2, 4, 8, 16}, "      sum of divisors           31."},
               {4, {1, 2, 4}, "      sum of divisors            7."}};
  for (const auto& c : cases) {
    Harness h(script(c.N));
    ASSERT_TRUE(h.run([](Session& s) { divisors_of_one(s); }));
    const auto log = h.log_lines();
    ASSERT_EQ(log.size(), c.d.size() + 4);
    for (size_t i = 0; i < c.d.size(); ++i) EXPECT_EQ(log[i + 1], row(i + 1, c.d[i], 5, 10));
    EXPECT_EQ(log[c.d.size() + 1], c.sum);
  }
}

TEST(DivSession, PrimesAndNumbersBelowFourArePrimo) {
  for (int32_t N : {13, 0, 1, 2, 3, 2147483647}) {
    Harness h(script(N));
    ASSERT_TRUE(h.run([](Session& s) { divisors_of_one(s); }));
    char primo[64];
    std::snprintf(primo, sizeof primo, "primo  1%11d", N);
    const auto scr = h.screen_lines();
    EXPECT_EQ(scr[0].substr(scr[0].size() - 19), primo) << N;
    EXPECT_EQ(scr[1], kPause);
    EXPECT_EQ(scr[2], "     sum of divisors            0.");
    char head[64];
    std::snprintf(head, sizeof head, "    divisors of %10d", N);
    EXPECT_EQ(h.log_lines(),
              (std::vector<std::string>{head, "      sum of divisors            0.", kLogRule, ""}))
        << N;
    EXPECT_TRUE(h.console.input.empty()) << N;
  }
}

// A 1 typed into y divides every number: with 2 -> 1 and 5 -> 0 each N
// from 1 up lists all its divisors (found here by trial division) and 0 is
// still "primo".  A 0 alone is passed over: with 5 -> 0 only, 25 is "primo"
// and 15 keeps its divisor 3.
TEST(DivSession, AOneInTheTableDividesEveryNumberAZeroIsPassedOver) {
  auto edited = std::make_unique<Tables>(testing::built_tables());
  substitute(*edited, 1, 1);
  substitute(*edited, 3, 0);
  std::vector<int32_t> ns;
  for (int32_t N = 0; N <= 200; ++N) ns.push_back(N);  // below 20 divisors: no page stop
  ns.push_back(2147483647);
  std::vector<std::string> in;
  for (int32_t N : ns)
    for (const auto& l : script(N)) in.push_back(l);
  Harness h(in);
  *h.tables = *edited;
  ASSERT_TRUE(h.run([&](Session& s) {
    for (size_t i = 0; i < ns.size(); ++i) divisors_of_one(s);
  }));
  std::vector<std::string> log;
  for (int32_t N : ns) {
    char line[64];
    std::snprintf(line, sizeof line, "    divisors of %10d", N);
    log.push_back(line);
    int64_t sum = 0;
    int32_t c = 0;
    for (int32_t d = 1; d <= N && N <= 200; ++d) {
      if (N % d != 0) continue;
      log.push_back(row(++c, d, 5, 10));
      sum += d;
    }
    if (N == 2147483647) {
      log.push_back(row(1, 1, 5, 10));
      log.push_back(row(2, N, 5, 10));
      sum = int64_t{N} + 1;
    }
    std::snprintf(line, sizeof line, "      sum of divisors%13lld.", static_cast<long long>(sum));
    log.push_back(line);
    log.push_back(kLogRule);
  }
  log.push_back("");
  EXPECT_EQ(h.log_lines(), log);
  const std::string& scr = h.console.screen;
  EXPECT_EQ(scr.find("primo"), scr.rfind("primo"));  // N = 0 only
  EXPECT_NE(scr.find("primo  1          0"), std::string::npos);
  EXPECT_TRUE(h.console.input.empty());

  auto zero = std::make_unique<Tables>(testing::built_tables());
  substitute(*zero, 3, 0);
  Harness z([] {
    std::vector<std::string> in = script(25);
    for (const auto& l : script(15)) in.push_back(l);
    return in;
  }());
  *z.tables = *zero;
  ASSERT_TRUE(z.run([](Session& s) {
    divisors_of_one(s);
    divisors_of_one(s);
  }));
  EXPECT_EQ(z.log_lines(),
            (std::vector<std::string>{
                "    divisors of         25", "      sum of divisors            0.", kLogRule,
                "    divisors of         15", row(1, 1, 5, 10), row(2, 3, 5, 10), row(3, 5, 5, 10),
                row(4, 15, 5, 10), "      sum of divisors           24.", kLogRule, ""}));
  EXPECT_NE(z.console.screen.find("primo  1         25"), std::string::npos);
}

// A prime right after a composite lists nothing, as the first number of a
// run does: nothing of the composite's list survives the call.
TEST(DivSession, APrimeAfterAComposite) {
  std::vector<std::string> in = script(12);
  for (const auto& l : script(13)) in.push_back(l);
  Harness h(in);
  ASSERT_TRUE(h.run([](Session& s) {
    divisors_of_one(s);
    divisors_of_one(s);
  }));
  const auto log = h.log_lines();
  ASSERT_EQ(log.size(), 13u);
  EXPECT_EQ(log[9], "    divisors of         13");
  EXPECT_EQ(log[10], "      sum of divisors            0.");
}

// 2095133040: the 1600 divisors stop every 20 lines; quitting at the third
// stop leaves the sum of the first 60.
TEST(DivSession, MostDivisorsPageAndQuit) {
  static DivisorList dl;
  ordered_divisors(2095133040, dl);
  {
    std::vector<std::string> in = {"2095133040", "", ""};
    for (int i = 0; i < 80; ++i) in.insert(in.end(), {"x", ""});
    in.insert(in.end(), {"", "", ""});
    Harness h(in);
    ASSERT_TRUE(h.run([](Session& s) { divisors_of_one(s); }));
    const auto log = h.log_lines();
    ASSERT_EQ(log.size(), 1600u + 4);
    EXPECT_EQ(log[1600], row(1600, 2095133040, 5, 10));
    int64_t tau = 0, sigma = 0;
    tau_sigma(2095133040, tau, sigma);
    char sum[64];
    std::snprintf(sum, sizeof sum, " %20s%13lld.", "sum of divisors",
                  static_cast<long long>(sigma));
    EXPECT_EQ(log[1601], sum);
    EXPECT_TRUE(h.console.input.empty());
  }
  {
    Harness h({"2095133040", "", "", "x", "", "x", "", "q", "", "", ""});
    ASSERT_TRUE(h.run([](Session& s) { divisors_of_one(s); }));
    const auto log = h.log_lines();
    ASSERT_EQ(log.size(), 60u + 4);
    int64_t first60 = 0;
    for (int c = 1; c <= 60; ++c) first60 += dl.D[c];
    char sum[64];
    std::snprintf(sum, sizeof sum, " %20s%13lld.", "sum of divisors",
                  static_cast<long long>(first60));
    EXPECT_EQ(log[61], sum);
    EXPECT_TRUE(h.console.input.empty());
  }
}

}  // namespace
}  // namespace ntb
