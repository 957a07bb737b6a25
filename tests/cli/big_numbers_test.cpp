// Numbers to 2^64 on the command line: expressions in the arguments and
// their refusals, one table of command lines; factor, totient and divisors
// against a trial-division reference below 10^12 and by the product of the
// factors above; the threads of factor; the progress line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "cli/progress.hpp"
#include "run_support.hpp"

namespace ntb::cli::test {
namespace {

using u128 = unsigned __int128;

const std::string kPiRange = "ntbench pi: N must be a whole number from 0 to 2147483647, got ";
const std::string kFactorRange =
    "ntbench factor: N must be a whole number from 0 to "
    "18446744073709551615, got ";

TEST(BigNumbers, CommandLinesWithExpressionsAndTheirRefusals) {
  struct Case {
    std::vector<std::string> args;
    std::string in;
    int status;
    std::string out, err;
  };
  // clang-format off
  const std::vector<Case> cases = {
      {{"pi", "1e3", "2^10", "(3+7)*10 - 000100", "2.5e1"}, "", 0, "1000 168\n1024 172\n0 0\n25 9\n", ""},
      {{"divisor-counts", "12", "--tau", "3*2"}, "", 0, "12 28 4 2 2 3\n", ""},
      {{"pi", "1.5"}, "", 2, "", kPiRange + "'1.5' (not a whole number)\n"},
      {{"pi", "2^^3"}, "", 2, "", kPiRange + "'2^^3' (unexpected '^' at character 3)\n"},
      {{"pi", "x"}, "", 2, "", kPiRange + "'x'\n"},
      {{"pi", "1/0"}, "", 2, "", kPiRange + "'1/0' (division by zero)\n"},
      {{"pi", "2^128"}, "", 2, "", kPiRange + "'2^128' (too large)\n"},
      {{"factor", "2^63", "9223372036854775807", "2^64-1"}, "", 0,
       "9223372036854775808: " + [] { std::string s; for (int i = 0; i < 63; ++i) s += i ? " 2" : "2"; return s; }() +
       "\n9223372036854775807: 7 7 73 127 337 92737 649657\n"
       "18446744073709551615: 3 5 17 257 641 65537 6700417\n", ""},
      {{"factor", "18446744073709551616"}, "", 2, "", kFactorRange + "'18446744073709551616'\n"},
      {{"factor", "2^64"}, "", 2, "", kFactorRange + "'2^64'\n"},
      {{"factor", "1e19", "0000000000000000000000000000012"}, "", 0,
       "10000000000000000000: 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5 5\n12: 2 2 3\n", ""},
      {{"factor", "12", "1", "97", "--exponents"}, "", 0, "12: 2^2 3\n1:\n97: 97\n", ""},
      {{"factor", "--exponents", "--csv", "720720"}, "", 0, "n,factors\r\n720720,2^4 3^2 5 7 11 13\r\n", ""},
      {{"factor", "x\xC3\xA9"}, "", 2, "", kFactorRange + "'x\\xC3\\xA9'\n"},
      {{"factor", std::string(70, '7') + "+"}, "", 2, "", kFactorRange + "'" + std::string(60, '7') + "...' (unexpected end)\n"},
      {{"factor", "--threads", "0", "5"}, "", 2, "", "ntbench factor: THREADS must be a whole number from 1 to 256, got '0'\n"},
      {{"factor", "-t", "2^8", "5"}, "", 0, "5: 5\n", ""},
      {{"factor"}, "18446744073709551615 18446744073709551616 1e3 " + std::string(100, '0') + "6\n", 1,
       "18446744073709551615: 3 5 17 257 641 65537 6700417\n6: 2 3\n",
       "ntbench factor: '18446744073709551616' is not a whole number from 0 to 18446744073709551615\n"
       "ntbench factor: '1e3' is not a whole number from 0 to 18446744073709551615\n"},
      {{"totient", "2^64-1", "18446744073709551557", "4294967291^2"}, "", 0,
       "18446744073709551615 9208981628670443520\n18446744073709551557 18446744073709551556\n"
       "18446744030759878681 18446744026464911390\n", ""},
      {{"divisors", "2^64-1", "--summary"}, "", 0, "18446744073709551615 128 31421980989189888768\n", ""},
      {{"divisors", "4294967291^2"}, "", 0, "1\n4294967291\n18446744030759878681\n", ""},
      {{"divisors", "0"}, "", 2, "", "ntbench divisors: N must be a whole number from 1 to 18446744073709551615, got '0'\n"},
  };
  // clang-format on
  for (const Case& c : cases) {
    const Result r = run(c.args, c.in);
    std::string line;
    for (const std::string& a : c.args) line += a + " ";
    EXPECT_EQ(r.status, c.status) << line;
    EXPECT_EQ(r.out, c.out) << line;
    EXPECT_EQ(r.err, c.err) << line;
  }
}

// n's prime factors by trial division, ascending with repetition.
std::vector<uint64_t> trial_factors(uint64_t n) {
  std::vector<uint64_t> f;
  for (uint64_t d = 2; d * d <= n; ++d)
    while (n % d == 0) f.push_back(d), n /= d;
  if (n > 1) f.push_back(n);
  return f;
}

// Whether n is prime: Miller-Rabin to the first twelve primes, which admit
// no composite below 2^64.
bool strong_prime(uint64_t n) {
  if (n < 2) return false;
  const uint64_t bases[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37};
  for (const uint64_t p : bases)
    if (n % p == 0) return n == p;
  uint64_t d = n - 1;
  int s = 0;
  while (d % 2 == 0) d /= 2, ++s;
  const auto mul = [n](uint64_t a, uint64_t b) { return static_cast<uint64_t>(u128{a} * b % n); };
  for (const uint64_t a : bases) {
    uint64_t x = 1, b = a;
    for (uint64_t e = d; e > 0; e >>= 1, b = mul(b, b))
      if (e & 1) x = mul(x, b);
    if (x == 1 || x == n - 1) continue;
    bool composite = true;
    for (int i = 1; i < s && composite; ++i) composite = (x = mul(x, x)) != n - 1;
    if (composite) return false;
  }
  return true;
}

std::vector<uint64_t> numbers_of(const std::string& line) {
  std::vector<uint64_t> v;
  size_t at = line.find(':') + 1;
  while (at < line.size()) {
    size_t used = 0;
    v.push_back(std::stoull(line.substr(at), &used));
    at += used;
  }
  return v;
}

TEST(BigNumbers, FactorTotientDivisorsAgainstReferences) {
  std::mt19937_64 rng(2024);
  std::string small_in, large_in, phis, sums;
  std::vector<uint64_t> large;
  for (int i = 0; i < 300; ++i) {
    const uint64_t n = 1 + rng() % 1000000000000;
    small_in += std::to_string(n) + "\n";
    const std::vector<uint64_t> f = trial_factors(n);
    u128 phi = n, sigma = 1;
    uint64_t tau = 1;
    for (size_t j = 0; j < f.size();) {
      size_t k = j;
      u128 power = 1, sum = 1;
      while (k < f.size() && f[k] == f[j]) power *= f[k++], sum += power;
      phi = phi / f[j] * (f[j] - 1), tau *= k - j + 1, sigma *= sum;
      j = k;
    }
    phis += std::to_string(n) + " " + std::to_string(static_cast<uint64_t>(phi)) + "\n";
    if (i < 20) {  // the lists are checked by the oracle sweep
      const Result d = run({"divisors", std::to_string(n), "--summary"});
      EXPECT_EQ(d.out, std::to_string(n) + " " + std::to_string(tau) + " " +
                           std::to_string(static_cast<uint64_t>(sigma)) + "\n");
    }
    std::string line = std::to_string(n) + ":";
    for (const uint64_t p : f) line.append(" ").append(std::to_string(p));
    sums += line + "\n";
  }
  EXPECT_EQ(run({"factor"}, small_in).out, sums);
  EXPECT_EQ(run({"totient"}, small_in).out, phis);

  // Above 10^12: random 64-bit numbers and products of two primes near
  // 2^32, checked by the product and primality of their factors; the same
  // answers on one thread and on three.
  for (int i = 0; i < 5000; ++i) {
    uint64_t n = rng() >> (rng() % 24);
    if (i % 10 == 0) {
      uint64_t p = (rng() >> 32) | 1, q = (rng() >> 32) | 1;
      while (!strong_prime(p)) p += 2;
      while (!strong_prime(q)) q += 2;
      n = p * q;  // wraps for some p, q: any n will do
    }
    large.push_back(n);
    large_in += std::to_string(n) + " ";
  }
  const Result one = run({"factor", "-t", "1"}, large_in);
  EXPECT_EQ(run({"factor", "--threads", "3"}, large_in).out, one.out);
  size_t start = 0, k = 0;
  for (size_t end; (end = one.out.find('\n', start)) != std::string::npos; start = end + 1, ++k) {
    const std::string line = one.out.substr(start, end - start);
    ASSERT_LT(k, large.size());
    ASSERT_EQ(line.substr(0, line.find(':')), std::to_string(large[k]));
    u128 product = 1;
    uint64_t last = 0;
    for (const uint64_t p : numbers_of(line)) {
      EXPECT_TRUE(strong_prime(p) && p >= last) << line;
      product *= p, last = p;
    }
    EXPECT_TRUE(product == (large[k] == 0 ? 1 : large[k])) << line;
  }
  EXPECT_EQ(k, large.size());
}

TEST(BigNumbers, ProgressLineOnlyWhenShownAndClearedAtTheEnd) {
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  ASSERT_EQ(::fcntl(fds[0], F_SETFL, O_NONBLOCK), 0);
  std::string got;
  // Reads what the pipe holds until it ends with `tail`, for at most 10 s.
  const auto read_until = [&](const std::string& tail) {
    char buf[256];
    for (int tries = 0; tries < 1000 && !got.ends_with(tail); ++tries) {
      const ssize_t n = ::read(fds[0], buf, sizeof buf);
      if (n > 0)
        got.append(buf, static_cast<size_t>(n));
      else
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  };
  std::atomic<uint64_t> done{0};
  const ProgressTiming quick{std::chrono::milliseconds(0), std::chrono::milliseconds(1)};
  {
    Progress hidden(Progress::of(done, 10), false, fds[1], quick);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  {
    // Shown, but ends before its second: nothing on the line.
    Progress late(Progress::of(done, 4), true, fds[1], ProgressTiming{});
  }
  {
    Progress shown(Progress::of(done, 4), true, fds[1], quick);
    read_until("\r  0%");
    done = 3;
    read_until("\r 75%");
  }
  read_until("\r    \r");
  ::close(fds[1]);
  ::close(fds[0]);
  EXPECT_EQ(got, "\r  0%\r 75%\r    \r");
}

}  // namespace
}  // namespace ntb::cli::test
