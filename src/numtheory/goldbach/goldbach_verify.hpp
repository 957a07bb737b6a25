// The check of Goldbach's conjecture over a range of even numbers: for every
// even n in [a, b], the least prime p such that n - p is prime too.  The
// answer keeps what a range needs and what joins with the ranges beside it:
// how many n were checked, the first n with the largest least p, the
// records (each n whose least p exceeds that of every smaller n of the
// range) when asked, and the n for which no prime p up to a bound worked.
//
// The primes of [a - P, b] (P a few thousand) are laid out once as a bit
// table of the odd numbers; the even
// n of a stretch, held as a bit mask of those still uncovered, are then
// struck out by the small primes p in turn, the table shifted by p against
// the mask a word (64 numbers n) at a time, until no n is left; the rare n
// still left after the primes up to P go on by a primality test of n - p.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace ntb {

struct GoldbachRecord {
  uint64_t n = 0, p = 0;  // q = n - p
  bool operator==(const GoldbachRecord&) const = default;
};

struct GoldbachVerification {
  uint64_t checked = 0;  // even n in [a, b] checked
  GoldbachRecord worst;  // the first n with the largest least p (n == 0 when none checked)
  std::vector<GoldbachRecord> records;  // when asked: each n whose least p exceeds that of every
                                        // smaller n of [a, b], ascending
  std::vector<uint64_t> unverified;     // even n with no prime p <= max_p such that n - p is prime,
                                        // ascending (the first kUnverifiedKept)
  uint64_t unverified_count = 0;
};

// How many of the unverified n a verification lists (it counts them all).
inline constexpr size_t kUnverifiedKept = 100;

// The verification of the even n in [a, b] (4 <= a <= b; std::invalid_argument
// otherwise), on `threads` threads (0 counts as 1).  The calling thread works
// too and polls interruption_point() between stretches; on Ctrl-C or an error
// the other threads stop and the exception reaches the caller.  When progress
// is given it holds the fraction of the range done (0 to 1).  max_p is the
// largest p tried (0: no bound, the real search); a tiny bound forces the
// path of an n left unverified.  The answer does not depend on the threads.
GoldbachVerification verify_goldbach(uint64_t a, uint64_t b, unsigned threads, bool records,
                                     std::atomic<double>* progress = nullptr, uint64_t max_p = 0);

// Joins the verification of a range with that of the range right after it
// (chunks in ascending order): checked and unverified add, worst keeps the
// larger p (the earlier n on a tie), records of `later` are kept only where
// they exceed every p so far.
void merge_into(GoldbachVerification& earlier_then_all, const GoldbachVerification& later);

}  // namespace ntb
