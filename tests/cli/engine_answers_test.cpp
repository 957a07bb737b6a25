// The one-shot answers that stand on the engines of the command folders,
// run in-process through the command line and checked against brute force
// written here: divisor counts and the numbers of one divisor count by
// counting divisors one by one; Goldbach pair counts and prime pairs by
// trying every pair; the terms of both step-by-step methods against a sieve
// and against their own running totals; the Pythagorean triplets.  Random
// inputs beside the edges (the least N, the two-million end of the Goldbach
// tables, the top of the range); the Full versions take more of them.  Their
// usage errors are rows of the table in usage_test.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run.hpp"

namespace ntb::cli::test {
namespace {

struct Answer {
  int status;
  std::string out, err;
};

Answer run(const std::vector<std::string>& args) {
  Answer r;
  r.status = run_in_memory(args, "", r.out, r.err);
  return r;
}

// The rows of a text answer, each split at its blanks.
std::vector<std::vector<std::string>> rows_of(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    rows.emplace_back();
    for (std::string f; fields >> f;) rows.back().push_back(f);
  }
  return rows;
}

bool full() {
  return std::getenv("NTBENCH_FULL") != nullptr;
}

constexpr int64_t kSieveTop = 2000000;

// not_prime[n] for n <= kSieveTop.
const std::vector<char>& not_prime() {
  static const std::vector<char> c = [] {
    std::vector<char> v(kSieveTop + 1, 0);
    v[0] = v[1] = 1;
    for (int64_t i = 2; i * i <= kSieveTop; ++i)
      if (!v[i])
        for (int64_t m = i * i; m <= kSieveTop; m += i) v[m] = 1;
    return v;
  }();
  return c;
}

int64_t pi(int64_t n) {
  int64_t k = 0;
  for (int64_t i = 2; i <= n; ++i) k += !not_prime()[i];
  return k;
}

// n, sigma, phi and the factors of n, as a row of `divisor-counts --tau`.
std::string tau_row(int64_t n, int64_t& tau) {
  int64_t sigma = 0;
  tau = 0;
  for (int64_t d = 1; d <= n; ++d)
    if (n % d == 0) ++tau, sigma += d;
  int64_t phi = 0;
  for (int64_t k = 1; k <= n; ++k) phi += std::gcd(k, n) == 1;
  std::string row = std::to_string(n) + " " + std::to_string(sigma) + " " + std::to_string(phi);
  for (int64_t m = n, p = 2; m > 1; ++p)
    for (; m % p == 0; m /= p) row.append(" ").append(std::to_string(p));
  return row;
}

void divisor_count_sweep(int cases) {
  std::mt19937 rng(17);
  std::vector<int64_t> Ns = {1, 2, 3, 100, 2310};
  for (int i = 0; i < cases; ++i)
    Ns.push_back(std::uniform_int_distribution<int64_t>(4, 3000)(rng));
  for (const int64_t N : Ns) {
    std::vector<int64_t> count(N + 1, 0);
    std::vector<std::string> by_tau[64];
    for (int64_t n = 1; n <= N; ++n) {
      int64_t tau = 0;
      const std::string row = tau_row(n, tau);
      ++count[tau];
      by_tau[tau].push_back(row);
    }
    std::string expect;
    for (int64_t k = 1; k <= N; ++k)
      if (count[k] != 0) expect += std::to_string(k) + " " + std::to_string(count[k]) + "\n";
    const Answer r = run({"divisor-counts", std::to_string(N)});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, expect) << "N = " << N;
    for (const int K : {1, 2, 3, 4, 6, 7, 8, 12, 16, 30}) {
      std::string rows;
      for (const std::string& row : by_tau[K]) rows += row + "\n";
      const Answer t = run({"divisor-counts", std::to_string(N), "--tau", std::to_string(K)});
      ASSERT_EQ(t.status, 0);
      EXPECT_EQ(t.out, rows) << "N = " << N << ", K = " << K;
    }
  }
}

TEST(EngineAnswers, DivisorCountsAndClassesAgainstCountingDivisors) {
  divisor_count_sweep(3);
}
TEST(EngineAnswers, DivisorCountsAndClassesAgainstCountingDivisorsFull) {
  if (!full()) GTEST_SKIP() << "set NTBENCH_FULL";
  divisor_count_sweep(40);
}

// The top of the range: the counts add up to N, the primes are pi(2^31 - 1),
// and 2095133040 is the one number with 1600 divisors; the CSV factors are
// one field.
TEST(EngineAnswers, DivisorCountsAtTheTopOfTheRange) {
  const Answer r = run({"divisor-counts", "2147483647"});
  ASSERT_EQ(r.status, 0);
  int64_t sum = 0;
  for (const auto& row : rows_of(r.out)) sum += std::stoll(row.at(1));
  EXPECT_EQ(sum, 2147483647);
  EXPECT_EQ(rows_of(r.out).at(1), (std::vector<std::string>{"2", "105097565"}));
  EXPECT_EQ(rows_of(r.out).back(), (std::vector<std::string>{"1600", "1"}));
  const Answer csv = run({"divisor-counts", "100", "--tau", "9", "--csv"});
  EXPECT_EQ(csv.out, "n,sigma,phi,factors\r\n36,91,12,2 2 3 3\r\n100,217,40,2 2 5 5\r\n");
}

TEST(EngineAnswers, DivisorClassAtTheTopOfTheRangeFull) {
  if (!full()) GTEST_SKIP() << "set NTBENCH_FULL";
  const Answer r = run({"divisor-counts", "2147483647", "--tau", "1600"});
  EXPECT_EQ(r.out, "2095133040 10889303040 358318080 2 2 2 2 3 3 3 3 5 7 11 13 17 19\n");
}

// The unordered pairs {a, b}, a <= b, of odd numbers >= 3 with a + b = N.
void goldbach_sweep(int cases) {
  std::mt19937 rng(5);
  std::vector<int64_t> Ns = {6, 8, 10, 12, 100, 1999998, 2000000};
  for (int i = 0; i < cases; ++i)
    Ns.push_back(2 * std::uniform_int_distribution<int64_t>(3, 1000000)(rng));
  std::string args_out;
  std::vector<std::string> args = {"goldbach"};
  for (const int64_t N : Ns) {
    int64_t P = 0, M = 0, C = 0;
    std::string pairs;
    for (int64_t a = 3; a <= N / 2; a += 2) {
      const bool pa = !not_prime()[a], pb = !not_prime()[N - a];
      if (pa && pb) pairs += std::to_string(a) + " " + std::to_string(N - a) + "\n";
      (pa && pb ? P : pa || pb ? M : C) += 1;
    }
    args.push_back(std::to_string(N));
    args_out += std::to_string(N) + " " + std::to_string(P) + " " + std::to_string(M) + " " +
                std::to_string(C) + "\n";
    if (N <= 100 || N == 2000000) {
      const Answer l = run({"goldbach", std::to_string(N), "--list"});
      EXPECT_EQ(l.out, pairs) << "N = " << N;
    }
  }
  const Answer r = run(args);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.out, args_out);
}

TEST(EngineAnswers, GoldbachCountsAndPairsAgainstTryingEveryPair) {
  goldbach_sweep(4);
}
TEST(EngineAnswers, GoldbachCountsAndPairsAgainstTryingEveryPairFull) {
  if (!full()) GTEST_SKIP() << "set NTBENCH_FULL";
  goldbach_sweep(200);
}

// Both methods end with Phi(N) = pi(N); every inclusion term is
// +-floor(N/c) for a product c of distinct primes and sr1 their running sum;
// every reverse row counts the primes from its last prime up to N/c and s1
// is their running sum.
void steps_sweep(int cases) {
  std::mt19937 rng(3);
  std::vector<int64_t> Ns = {9, 10, 100, 1000, 2000000};
  for (int i = 0; i < cases; ++i)
    Ns.push_back(std::uniform_int_distribution<int64_t>(11, 2000000)(rng));
  for (const int64_t N : Ns) {
    const std::string phi_label = std::string("Phi(") + std::to_string(N) + ")";
    const std::string want = std::to_string(pi(N));

    const auto inc = rows_of(run({"steps", "inclusion", std::to_string(N)}).out);
    ASSERT_FALSE(inc.empty());
    EXPECT_EQ(inc.back(), (std::vector<std::string>{phi_label, want}));
    int64_t sr1 = 0;
    for (size_t i = 0; i + 1 < inc.size(); ++i) {
      const int64_t level = std::stoll(inc[i][1]), c = std::stoll(inc[i][2]);
      const int64_t term = std::stoll(inc[i][3]);
      EXPECT_EQ(term, (level % 2 ? 1 : -1) * (N / c)) << N << " row " << i + 1;
      sr1 += term;
      ASSERT_EQ(std::stoll(inc[i][4]), sr1) << N << " row " << i + 1;
    }

    const auto rev = rows_of(run({"steps", "reverse", std::to_string(N)}).out);
    ASSERT_FALSE(rev.empty());
    EXPECT_EQ(rev.back(), (std::vector<std::string>{phi_label, want}));
    int64_t s1 = 0;
    for (size_t i = 0; i + 1 < rev.size(); ++i) {
      const int64_t c = std::stoll(rev[i][1]), p = std::stoll(rev[i][2]);
      const int64_t count = std::stoll(rev[i][4]);
      EXPECT_EQ(std::stoll(rev[i][3]), N / c);
      EXPECT_EQ(count, pi(N / c) - pi(p) + 1) << N << " row " << i + 1;
      s1 += count;
      ASSERT_EQ(std::stoll(rev[i][5]), s1);
    }
  }
}

TEST(EngineAnswers, StepsOfBothMethodsAgainstASieve) {
  steps_sweep(2);
}
TEST(EngineAnswers, StepsOfBothMethodsAgainstASieveFull) {
  if (!full()) GTEST_SKIP() << "set NTBENCH_FULL";
  steps_sweep(40);
}

TEST(EngineAnswers, PrimitivePythagoreanTriplets) {
  const auto rows = rows_of(run({"triplets"}).out);
  ASSERT_EQ(rows.size(), 15u);
  for (const auto& t : rows) {
    const int64_t a = std::stoll(t[0]), b = std::stoll(t[1]), c = std::stoll(t[2]);
    EXPECT_EQ(a * a + b * b, c * c);
    EXPECT_EQ(std::gcd(a, b), 1);
  }
  EXPECT_EQ(rows.back(), (std::vector<std::string>{"112", "15", "113"}));
}

}  // namespace
}  // namespace ntb::cli::test
