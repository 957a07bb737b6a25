// ntbench goldbach-verify A B: Goldbach's conjecture checked for every even
// n of [A, B] (4 <= A <= B <= 2^64 - 1), each n by its least prime p with
// n - p prime, on every thread (numtheory/goldbach/goldbach_verify.hpp).
// One row: how many n were checked and the first n with the largest least
// p; with --records every n whose least p beats that of each smaller n of
// the range.  An n with no such p would disprove the conjecture: one loud
// line on standard error and status 3.
//
// With --checkpoint or --chunk (and always under ntbench-mpi) the range is
// cut into chunks (range_job.hpp), each verified apart into one line:
//   checked, worst n, worst p, unverified count, kept unverified count, the
//   kept unverified n, then (n, p) for each record of the chunk
// and the lines joined in order by merge_into, the join the threads use.
//
// The environment variable NTBENCH_TEST_GOLDBACH_MAX_P, read here only,
// bounds the primes p tried, so that the tests reach that path.
#include "numtheory/goldbach/goldbach_verify.hpp"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/prime_listing.hpp"
#include "cli/progress.hpp"
#include "cli/range_job.hpp"
#include "cli/threads_option.hpp"

namespace ntb::cli {

namespace {

// The status of a range with an n that no prime p works for.
constexpr int kCounterexample = 3;

uint64_t test_bound_on_p() {
  const char* v = std::getenv("NTBENCH_TEST_GOLDBACH_MAX_P");
  return v != nullptr ? std::strtoull(v, nullptr, 10) : 0;
}

// The n with no prime p, named on standard error.
void report_unverified(Channels& io, const GoldbachVerification& v) {
  io.error("ntbench goldbach-verify: COUNTEREXAMPLE TO GOLDBACH'S CONJECTURE: " +
           std::to_string(v.unverified_count) +
           (v.unverified_count == 1 ? " even number has" : " even numbers have") +
           " no prime p with n - p prime, the first " + std::to_string(v.unverified.front()));
}

// A chunk's verification as its line, and back.
std::string chunk_line(const GoldbachVerification& v) {
  ResultWriter w;
  w << v.checked << v.worst.n << v.worst.p << v.unverified_count << v.unverified.size();
  for (const uint64_t n : v.unverified) w << n;
  for (const GoldbachRecord& g : v.records) w << g.n << g.p;
  return w.text();
}

GoldbachVerification read_chunk_line(std::string_view line) {
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

// The answer of the whole range, however it was computed.
int write_answer(Channels& io, const GoldbachVerification& v, bool records) {
  if (records) {
    io.out.header({"n", "p", "q"});
    for (const GoldbachRecord& g : v.records) io.out.row(g.n, g.p, g.n - g.p);
  } else {
    io.out.header({"checked", "n", "p", "q"});
    io.out.row(v.checked, v.worst.n, v.worst.p, v.worst.n - v.worst.p);
  }
  if (v.unverified_count == 0) return 0;
  report_unverified(io, v);
  return kCounterexample;
}

int run(const Request& r, Channels& io) {
  const auto a = static_cast<uint64_t>(r.numbers[0]), b = static_cast<uint64_t>(r.numbers[1]);
  const bool records = r.flag("--records");
  const unsigned threads = thread_count(r);
  const uint64_t max_p = test_bound_on_p();
  GoldbachVerification v;
  if (runs_in_chunks(r, io)) {
    RangeJob job{job_name(r, {"--records"}),
                 a,
                 b,
                 b,
                 [=](uint64_t low, uint64_t high, std::atomic<double>* progress) {
                   return chunk_line(verify_goldbach(low, high, threads, records, progress, max_p));
                 },
                 {},
                 [&v](std::string_view line) { merge_into(v, read_chunk_line(line)); }};
    if (const int status = run_range_job(r, io, job); status != 0 || !writes_answer(io))
      return status;
    return write_answer(io, v, records);
  }
  std::atomic<double> done{0};
  {
    const Progress progress([&done] { return done.load(); }, status_line_wanted(r));
    v = verify_goldbach(a, b, threads, records, &done, max_p);
  }
  return write_answer(io, v, records);
}

bool chunked(const Request&) {
  return true;
}

std::string check(const Request& r) {
  return chunk_usage_error(r, true, "", static_cast<uint64_t>(r.numbers[0]),
                           static_cast<uint64_t>(r.numbers[1]));
}

}  // namespace

const Command& goldbach_verify_command() {
  static const Command row{
      "goldbach-verify",
      "Goldbach's conjecture checked from A to B",
      "For every even n with A <= n <= B (4 <= A <= B <= 2^64 - 1), the least\n"
      "prime p with n - p prime.  One row: how many even n were checked, the\n"
      "first n with the largest least p, that p and q = n - p.  With --records,\n"
      "every n whose least p exceeds that of every smaller n of the range\n"
      "(columns: n p q).  The range is sieved once and most n fall to the first\n"
      "few p; it runs on --threads threads.  An n with no such p would disprove\n"
      "the conjecture: it is named on standard error and the status is 3.",
      {{{Argument{"A", 4, kRangeMax}, Argument{"B", 4, kRangeMax}}, false, {{0, 1}}}},
      {{"--records", "each n whose least p is a record (columns: n p q)"},
       threads_option(),
       no_status_option(),
       checkpoint_option(),
       chunk_option()},
      "checked n p q",
      check,
      run,
      chunked,
  };
  return row;
}

}  // namespace ntb::cli
