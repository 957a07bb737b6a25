// Every family of one-shot commands against brute force written here: a
// plain sieve below 2100000 (across the two-million boundary of the
// workbench's tables), trial division near 2^31 where the largest prime,
// 2147483647, has the index 105097565, and divisors by trying every d.
// Edge inputs 0, 1, 2, the two-million boundary and the top of the range,
// plus random windows and numbers; the Full versions take many more.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "run_support.hpp"

namespace ntb::cli::test {
namespace {

constexpr int64_t kTop = 2147483647;
constexpr int64_t kSieveTop = 2100000;

// Each sweep runs sampled (scale 1) in the quick suite and at scale 20 as
// its Full version.
#define SWEEP(name)                                                       \
  void name(int scale);                                                   \
  TEST(Oracle, name) {                                                    \
    name(1);                                                              \
  }                                                                       \
  TEST(Oracle, name##Full) {                                              \
    if (!std::getenv("NTBENCH_FULL")) GTEST_SKIP() << "set NTBENCH_FULL"; \
    name(20);                                                             \
  }                                                                       \
  void name(int scale)

bool is_prime(int64_t n) {
  if (n < 2) return false;
  for (int64_t d = 2; d * d <= n; ++d)
    if (n % d == 0) return false;
  return true;
}

// pi(n) for n < kSieveTop by a plain sieve.
const std::vector<int64_t>& small_pi() {
  static const std::vector<int64_t> pi = [] {
    std::vector<char> composite(kSieveTop, 0);
    std::vector<int64_t> t(kSieveTop, 0);
    for (int64_t i = 2; i < kSieveTop; ++i) {
      if (!composite[i])
        for (int64_t j = i * i; j < kSieveTop; j += i) composite[j] = 1;
      t[i] = t[i - 1] + !composite[i];
    }
    return t;
  }();
  return pi;
}

// The primes of [a, b] with their indexes: (index, prime) for a window below
// kSieveTop, or one ending at kTop, counted down from 105097565.
std::vector<std::pair<int64_t, int64_t>> primes_with_index(int64_t a, int64_t b) {
  std::vector<std::pair<int64_t, int64_t>> v;
  if (b < kSieveTop) {
    for (int64_t p = a; p <= b; ++p)
      if (small_pi()[p] != (p > 0 ? small_pi()[p - 1] : 0)) v.emplace_back(small_pi()[p], p);
    return v;
  }
  EXPECT_EQ(b, kTop);
  int64_t index = 105097565;
  for (int64_t p = b; p >= a; --p)
    if (is_prime(p)) v.insert(v.begin(), {index--, p});
  return v;
}

std::string factor_line(int64_t n) {
  std::string s = std::to_string(n) + ":";
  int64_t m = n;
  for (int64_t d = 2; d * d <= m; ++d)
    for (; m % d == 0; m /= d) s += ' ' + std::to_string(d);
  if (m > 1) s += ' ' + std::to_string(m);
  return s + '\n';
}

int64_t totient(int64_t n) {
  if (n <= 3000) {
    int64_t k = 0;
    for (int64_t i = 1; i <= n; ++i) k += std::gcd(i, n) == 1;
    return k;
  }
  int64_t phi = n, m = n;
  for (int64_t d = 2; d * d <= m; ++d)
    if (m % d == 0) {
      phi = phi / d * (d - 1);
      while (m % d == 0) m /= d;
    }
  return m > 1 ? phi / m * (m - 1) : phi;
}

// Whole numbers to try: the edges and `count` random ones of the whole range.
std::vector<int64_t> numbers(int count) {
  std::vector<int64_t> v = {0,       1,       2,          3,          4,          1999999, 2000000,
                            2000001, 2000003, 2147117569, 2095133040, 2147483646, kTop};
  std::mt19937_64 rng(17);
  for (int i = 0; i < count; ++i)
    v.push_back(i % 2 ? static_cast<int64_t>(rng() % (kTop + 1))
                      : static_cast<int64_t>(rng() % 5000));
  return v;
}

SWEEP(PiEveryNGiven) {
  std::vector<std::string> args = {"pi"};
  std::string expected;
  for (const int64_t n : numbers(100 * scale)) {
    if (n >= kSieveTop) continue;
    args.push_back(std::to_string(n));
    expected += std::to_string(n) + " " + std::to_string(small_pi()[n]) + "\n";
  }
  // Near the top: the primes of the last thousand numbers, counted down.
  const auto top = primes_with_index(kTop - 1000, kTop);
  args.push_back(std::to_string(kTop - 1001));
  expected += std::to_string(kTop - 1001) + " " + std::to_string(top.front().first - 1) + "\n";
  args.push_back(std::to_string(kTop));
  expected += std::to_string(kTop) + " 105097565\n";
  const Result r = run(args);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, expected);
}

SWEEP(PrimesGapsAndTwinsOfWindows) {
  std::vector<std::pair<int64_t, int64_t>> windows = {
      {0, 0}, {0, 2}, {2, 2}, {0, 120}, {1999000, 2001000}, {kTop - 3000, kTop}};
  std::mt19937_64 rng(3);
  for (int i = 0; i < 20 * scale; ++i) {
    const int64_t a = static_cast<int64_t>(rng() % (kSieveTop - 5000));
    windows.emplace_back(a, a + static_cast<int64_t>(rng() % 5000));
  }
  for (const auto& [a, b] : windows) {
    const auto primes = primes_with_index(a, b);
    std::string list, twins, gaps;
    const int64_t g1 = static_cast<int64_t>(rng() % 8), g2 = g1 + static_cast<int64_t>(rng() % 20);
    for (size_t i = 0; i < primes.size(); ++i) {
      list += std::to_string(primes[i].first) + " " + std::to_string(primes[i].second) + "\n";
      if (i == 0) continue;
      const auto [ip, p] = primes[i - 1];
      const auto [iq, q] = primes[i];
      const std::string row = std::to_string(ip) + " " + std::to_string(p) + " " +
                              std::to_string(iq) + " " + std::to_string(q) + " " +
                              std::to_string(q - p) + "\n";
      if (q - p == 2) twins += row;
      if (q - p >= g1 && q - p <= g2) gaps += row;
    }
    const std::string A = std::to_string(a), B = std::to_string(b);
    EXPECT_EQ(run({"primes", A, B}).out, list) << a << ".." << b;
    EXPECT_EQ(run({"gaps", std::to_string(g1), std::to_string(g2), A, B}).out, gaps)
        << g1 << ".." << g2 << " in " << a << ".." << b;
    if (b == kTop) continue;  // pi(A - 1) near 2^31 costs a few seconds: two calls are enough
    EXPECT_EQ(run({"primes", A, B, "--count"}).out, std::to_string(primes.size()) + "\n");
    EXPECT_EQ(run({"twins", A, B}).out, twins) << a << ".." << b;
    EXPECT_EQ(run({"gaps", "2", A, B}).out, twins) << a << ".." << b;
  }
}

SWEEP(FactorAndTotientFromArgumentsAndStandardInput) {
  std::vector<std::string> args = {"factor"};
  std::string in, factors, phis, refused;
  int k = 0;
  for (const int64_t n : numbers(1000 * scale)) {
    args.push_back(std::to_string(n));
    in += std::to_string(n) + (++k % 3 ? " \t " : "\n");
    factors += factor_line(n);
    if (n > 0) phis += std::to_string(n) + " " + std::to_string(totient(n)) + "\n";
    if (n == 0)
      refused += "ntbench totient: '0' is not a whole number from 1 to 18446744073709551615\n";
  }
  const Result from_args = run(args);
  EXPECT_EQ(from_args.status, 0);
  EXPECT_EQ(from_args.out, factors);
  const Result from_input = run({"factor"}, in);
  EXPECT_EQ(from_input.status, 0);
  EXPECT_EQ(from_input.out, factors);
  const Result phi = run({"totient"}, in + "\n");
  EXPECT_EQ(phi.status, 1) << "0 is refused";
  EXPECT_EQ(phi.out, phis);
  EXPECT_EQ(phi.err, refused);

  // A bad token is named, the others answered, status 1 at the end; a
  // token of a megabyte is shown cut.
  const Result bad =
      run({"factor"}, "12 x7 -3\n18446744073709551616 " + std::string(1 << 20, '9') + " 13");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "12: 2 2 3\n13: 13\n");
  std::string named;
  for (const std::string& t :
       std::vector<std::string>{"x7", "-3", "18446744073709551616", std::string(60, '9') + "..."})
    named += "ntbench factor: '" + t + "' is not a whole number from 0 to 18446744073709551615\n";
  EXPECT_EQ(bad.err, named);
}

SWEEP(DivisorsAndTheirSummary) {
  std::vector<int64_t> ns;
  for (int64_t n = 1; n <= 300 * scale; ++n) ns.push_back(n);
  for (const int64_t n : numbers(20 * scale))
    if (n > 0) ns.push_back(n);
  for (const int64_t n : ns) {
    std::vector<int64_t> small, large;
    for (int64_t d = 1; d * d <= n; ++d)
      if (n % d == 0) {
        small.push_back(d);
        if (d != n / d) large.insert(large.begin(), n / d);
      }
    small.insert(small.end(), large.begin(), large.end());
    std::string list;
    int64_t sigma = 0;
    for (const int64_t d : small) list += std::to_string(d) + "\n", sigma += d;
    const std::string N = std::to_string(n);
    EXPECT_EQ(run({"divisors", N}).out, list) << n;
    EXPECT_EQ(run({"divisors", N, "--summary"}).out,
              N + " " + std::to_string(small.size()) + " " + std::to_string(sigma) + "\n");
  }
}

}  // namespace
}  // namespace ntb::cli::test
