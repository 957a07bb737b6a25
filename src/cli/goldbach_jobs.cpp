// The chunk lines of goldbach N and goldbach-verify and their merges.  A
// chunk of goldbach N is a piece [lo, hi] of the low members a of the pairs
// {a, N - a}; its line holds the six counts of goldbach_counts_u64_part,
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

std::string verification_line(const GoldbachVerification& v) {
  ResultWriter out;
  out << v.checked << v.worst.n << v.worst.p << v.unverified_count << v.unverified.size();
  for (const uint64_t n : v.unverified) out << n;
  for (const GoldbachRecord& g : v.records) out << g.n << g.p;
  return out.text();
}

GoldbachVerification verification_of_line(std::string_view line) {
  ResultReader in(line);
  GoldbachVerification v;
  v.checked = in.next();
  v.worst.n = in.next();
  v.worst.p = in.next();
  v.unverified_count = in.next();
  const uint64_t kept = in.next();
  if (kept > kUnverifiedKept || kept > v.unverified_count) throw ChunkLineError{};
  for (uint64_t i = 0; i < kept; ++i) v.unverified.push_back(in.next());
  while (!in.done()) {
    const uint64_t n = in.next();
    v.records.push_back({n, in.next()});
  }
  return v;
}

int chunked_goldbach_verification(const Request& r, Channels& io, uint64_t a, uint64_t b,
                                  bool records, uint64_t max_p, GoldbachVerification& all) {
  const unsigned threads = thread_count(r);
  all = GoldbachVerification{};
  RangeJob job{
      job_name(r, {"--records"}),
      a,
      b,
      b,
      [=](uint64_t low, uint64_t high, std::atomic<double>* progress) {
        return verification_line(verify_goldbach(low, high, threads, records, progress, max_p));
      },
      {},
      [&all](std::string_view line) { merge_into(all, verification_of_line(line)); }};
  return run_range_job(r, io, job);
}

}  // namespace ntb::cli
