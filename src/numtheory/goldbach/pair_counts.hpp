// The Goldbach pair counts of one even N up to 2^64 - 2, and its list of
// prime pairs, by sieving both halves of the pairs at once on every thread
// asked for.
//
// For even N >= 6 the odd a = 3, 5, ... up to N/2 and their partners
// b = N - a make up all K = (N/2 - 1)/2 pairs {a, b} of odd numbers >= 3
// with sum N (N/4 - 1 when 4 | N, else floor(N/4)).  The low members are
// sieved upwards from 0, the high ones downwards from N, on the wheel of 30
// (wheel_windows.hpp), a window of each at a time and byte by byte in step:
// the partners of a low byte's numbers lie in the high byte of the same
// index and the one after it, and a permutation of their bits fixed by
// N mod 30 lines them up with the low byte.  Then
//   P = the low bits whose partner's bit is set (the pairs of primes),
//   L = the bits set in the low windows, the odd primes in [3, N/2],
//   U = the bits set in the high windows, the odd primes in [N/2, N - 3],
// with 3 and 5, which the wheel leaves out, and their pairs added apart.
// The odd primes up to N - 3 are L + U - h, with h = 1 when N/2 is an odd
// prime (the middle, in both halves); 2P - h of them have a prime partner,
// so the mixed pairs are M = L + U - 2P, h cancelling out, and the pairs
// of odd composites are C = K - P - M.
//
// Threads take runs of consecutive windows; the counts are sums over the
// windows and so the same for every number of threads.  Only the calling
// thread polls interruption_point() (after every window done) and calls
// the progress callback and the pair visitor; an Interrupted or any other
// exception stops the threads before it leaves.
#pragma once

#include <cstdint>
#include <functional>

namespace ntb {

struct GoldbachCounts {
  uint64_t n = 0;
  uint64_t all_pairs = 0;        // K: pairs of odd numbers >= 3 with sum n
  uint64_t prime_pairs = 0;      // P: both odd primes
  uint64_t mixed_pairs = 0;      // M: one odd prime, one odd composite
  uint64_t composite_pairs = 0;  // C: both odd composites
  uint64_t low_primes = 0;       // L: odd primes in [3, n/2]
  uint64_t high_primes = 0;      // U: odd primes in [n/2, n - 3]
};

// progress(done, total): windows done out of all, as they get done (a call
// may cover several), on the calling thread; done reaches total.
using GoldbachProgress = std::function<void(uint64_t done, uint64_t total)>;

// visit(p, q) with p <= q, p + q = N, both prime; false stops the listing.
using GoldbachPairVisitor = std::function<bool(uint64_t p, uint64_t q)>;

// How the sieve is laid out: the speed depends on it, the results do not
// (the tests shrink it to reach every path with a small N).
struct GoldbachLayout {
  uint32_t window_bytes = 0;  // bytes (30 numbers each) a window; 0: chosen
  uint64_t carried_top = 0;   // sieving primes kept from window to window; 0: 2^24
};

// The counts of the even N >= 6 (std::invalid_argument otherwise) on
// `threads` threads (0 counts as 1).
GoldbachCounts goldbach_counts_u64(uint64_t N, unsigned threads,
                                   const GoldbachProgress& progress = {},
                                   const GoldbachLayout& layout = {});

// The counts of goldbach_counts_u64(N) restricted to the low members a
// with lo <= a <= hi (a odd, 3 <= a <= N/2, partner N - a): all_pairs,
// prime_pairs, mixed_pairs and composite_pairs count those pairs,
// low_primes and high_primes the primes among those a and among their
// partners (N/2 when odd and prime in both, as a and as its own partner).
// Summing the fields over a partition of [0, N/2] into consecutive
// [lo, hi] gives exactly goldbach_counts_u64(N) (n = N in every part): the
// pieces of a chunked computation.
GoldbachCounts goldbach_counts_u64_part(uint64_t N, uint64_t lo, uint64_t hi, unsigned threads,
                                        const GoldbachProgress& progress = {},
                                        const GoldbachLayout& layout = {});

// visit(p, N - p) for every prime pair, p ascending, with the memory of a
// few windows per thread whatever N; false when the visitor stopped it.
bool goldbach_pairs_u64(uint64_t N, unsigned threads, const GoldbachPairVisitor& visit,
                        const GoldbachProgress& progress = {}, const GoldbachLayout& layout = {});

}  // namespace ntb
