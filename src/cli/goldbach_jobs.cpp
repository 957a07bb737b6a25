// The chunk lines of goldbach N and their merge.  A chunk is a piece
// [lo, hi] of the low members a of the pairs {a, N - a}; its line holds the
// six counts of goldbach_counts_u64_part,
//   all_pairs prime_pairs mixed_pairs composite_pairs low_primes high_primes
// which add up over the chunks to those of the whole N.
#include "cli/goldbach_jobs.hpp"

#include "cli/range_job.hpp"
#include "cli/threads_option.hpp"

namespace ntb::cli {

int chunked_goldbach_counts(const Request& r, Channels& io, uint64_t n, GoldbachCounts& total) {
  const unsigned threads = thread_count(r);
  total = GoldbachCounts{};
  total.n = n;
  RangeJob job{
      job_name(r, {}),
      0,
      n / 2,
      n,
      [n, threads](uint64_t low, uint64_t high, std::atomic<double>* progress) {
        const GoldbachCounts k = goldbach_counts_u64_part(
            n, low, high, threads, [progress](uint64_t done, uint64_t all) {
              if (progress != nullptr && all != 0) progress->store(static_cast<double>(done) / all);
            });
        return (ResultWriter() << k.all_pairs << k.prime_pairs << k.mixed_pairs << k.composite_pairs
                               << k.low_primes << k.high_primes)
            .text();
      },
      {},
      [&total](std::string_view line) {
        ResultReader in(line);
        for (uint64_t* field : {&total.all_pairs, &total.prime_pairs, &total.mixed_pairs,
                                &total.composite_pairs, &total.low_primes, &total.high_primes})
          *field += in.next();
        if (!in.done()) throw ChunkLineError{};
      }};
  return run_range_job(r, io, job);
}

}  // namespace ntb::cli
