// The chunk lines of the prime-range commands and their merges.  Counts add
// up; a chunk's first prime and the last prime of the chunks before it (the
// chunks between hold none) are consecutive primes, whose gap no chunk saw.
//
//   primes --count:  count
//   twins --count:   count first last
//   gap histogram:   first last, then (gap - g1, pairs) for each gap that occurs
//   listing:         count first last, then (rank step, p step, gap) for each
//                    pair inside, p's rank among the chunk's primes and p
//                    itself as steps from the pair before (from rank 1 and
//                    the first prime), so that a line stays short
#include "cli/prime_range_jobs.hpp"

#include <span>

#include "cli/prime_listing.hpp"
#include "cli/range_job.hpp"
#include "cli/threads_option.hpp"
#include "numtheory/goldbach/wheel_windows.hpp"
#include "numtheory/sieve/prime_blocks.hpp"
#include "numtheory/sieve/prime_ends.hpp"
#include "numtheory/sieve/range_scan.hpp"

namespace ntb::cli {

namespace {

// The last prime of the chunks merged so far: the gap across the border to
// the next chunk that holds a prime.
class Border {
 public:
  // The gap from the last prime before to `first`, 0 when either is missing.
  uint64_t gap_to(uint64_t first) const { return first != 0 && last_ != 0 ? first - last_ : 0; }
  uint64_t last() const { return last_; }
  void passed(uint64_t first, uint64_t last) {
    if (first != 0) last_ = last;
  }

 private:
  uint64_t last_ = 0;
};

int threads_of(const Request& r) {
  return static_cast<int>(thread_count(r));
}

}  // namespace

int chunked_prime_count(const Request& r, Channels& io, std::string name, uint64_t a, uint64_t b) {
  const int threads = threads_of(r);
  uint64_t total = 0;
  RangeJob job{std::move(name),
               a,
               b,
               b,
               [threads](uint64_t low, uint64_t high, std::atomic<double>* progress) {
                 return (ResultWriter() << count_primes(low, high, threads, progress)).text();
               },
               {},
               [&total](std::string_view line) { total += ResultReader(line).next(); }};
  if (const int status = run_range_job(r, io, job); status != 0 || !writes_answer(io))
    return status;
  io.out.header({"count"});
  io.out.row(total);
  return 0;
}

int chunked_twin_count(const Request& r, Channels& io, std::string name, uint64_t a, uint64_t b) {
  const int threads = threads_of(r);
  uint64_t total = 0;
  Border border;
  RangeJob job{std::move(name),
               a,
               b,
               b,
               [threads](uint64_t low, uint64_t high, std::atomic<double>* progress) {
                 const uint64_t twins = count_twins(low, high, threads, progress);
                 const PrimeEnds ends = prime_ends(low, high);
                 return (ResultWriter() << twins << ends.first << ends.last).text();
               },
               {},
               [&](std::string_view line) {
                 ResultReader in(line);
                 total += in.next();
                 const uint64_t first = in.next(), last = in.next();
                 if (border.gap_to(first) == 2) ++total;
                 border.passed(first, last);
               }};
  if (const int status = run_range_job(r, io, job); status != 0 || !writes_answer(io))
    return status;
  io.out.header({"count"});
  io.out.row(total);
  return 0;
}

int chunked_gap_histogram(const Request& r, Channels& io, std::string name, uint64_t g1,
                          uint64_t g2, uint64_t a, uint64_t b, std::vector<uint64_t>& counts) {
  const int threads = threads_of(r);
  Border border;
  const auto add = [&counts, g1](uint64_t gap, uint64_t pairs) {
    if (counts.size() <= gap - g1) counts.resize(gap - g1 + 1, 0);
    counts[gap - g1] += pairs;
  };
  RangeJob job{std::move(name),
               a,
               b,
               b,
               [=](uint64_t low, uint64_t high, std::atomic<double>* progress) {
                 const std::vector<uint64_t> part =
                     gap_histogram(low, high, g1, g2, threads, progress);
                 const PrimeEnds ends = prime_ends(low, high);
                 ResultWriter out;
                 out << ends.first << ends.last;
                 for (size_t i = 0; i < part.size(); ++i)
                   if (part[i] != 0) out << i << part[i];
                 return out.text();
               },
               {},
               [&](std::string_view line) {
                 ResultReader in(line);
                 const uint64_t first = in.next(), last = in.next();
                 if (const uint64_t gap = border.gap_to(first); gap != 0 && gap >= g1 && gap <= g2)
                   add(gap, 1);
                 border.passed(first, last);
                 while (!in.done()) {
                   const uint64_t offset = in.next();
                   if (offset > g2 - g1) throw ChunkLineError{};
                   add(g1 + offset, in.next());
                 }
               }};
  return run_range_job(r, io, job);
}

int chunked_consecutive_pairs(const Request& r, Channels& io, std::string name, uint64_t g1,
                              uint64_t g2, uint64_t a, uint64_t b, bool indexed) {
  const int threads = threads_of(r);
  uint64_t index = 0;  // the primes up to the chunk merged next
  Border border;
  const auto row = [&io, indexed](uint64_t index_p, uint64_t p, uint64_t q) {
    if (indexed)
      io.out.row(index_p, p, index_p + 1, q, q - p);
    else
      io.out.row(p, q, q - p);
  };
  RangeJob job{std::move(name),
               a,
               b,
               b,
               [=](uint64_t low, uint64_t high, std::atomic<double>* progress) {
                 uint64_t count = 0, first = 0, prev = 0, prev_rank = 1, prev_p = 0;
                 ResultWriter pairs;
                 each_prime_block(
                     low, high,
                     [&](std::span<const uint64_t> block) {
                       for (const uint64_t q : block) {
                         if (count == 0) first = prev_p = q;
                         if (prev != 0 && q - prev >= g1 && q - prev <= g2) {
                           pairs << count - prev_rank << prev - prev_p << q - prev;
                           prev_rank = count;
                           prev_p = prev;
                         }
                         prev = q;
                         ++count;
                       }
                     },
                     progress);
                 ResultWriter out;
                 out << count << first << prev;
                 return pairs.text().empty() ? out.text() : out.text() + ' ' + pairs.text();
               },
               [&] {
                 if (indexed)
                   io.out.header({"index_p", "p", "index_q", "q", "gap"});
                 else
                   io.out.header({"p", "q", "gap"});
                 if (indexed) index = primes_below(a, threads);
               },
               [&](std::string_view line) {
                 ResultReader in(line);
                 const uint64_t count = in.next(), first = in.next(), last = in.next();
                 if (const uint64_t gap = border.gap_to(first); gap != 0 && gap >= g1 && gap <= g2)
                   row(index, border.last(), first);
                 border.passed(first, last);
                 uint64_t rank = 1, p = first;
                 while (!in.done()) {
                   rank += in.next();
                   p += in.next();
                   const uint64_t gap = in.next();
                   if (rank >= count) throw ChunkLineError{};
                   row(index + rank, p, p + gap);
                 }
                 index += count;
               }};
  return run_range_job(r, io, job);
}

}  // namespace ntb::cli
