// ntbench goldbach N...: the pairs {a, b} of odd numbers >= 3 with a + b = N
// by kind, the counts of the workbench's first Goldbach entry on the tables
// as built.  Above the tables' extent, up to 2^64 - 2, the same counts from
// the 64-bit sieve of both halves (numtheory/goldbach/pair_counts.hpp) on
// --threads threads, with a progress line.  With --list, the pairs of primes
// of one N; with two numbers, the range A..B (goldbach_range.cpp).  One N
// without --list runs by chunks of its pairs' low members with --checkpoint
// or --chunk (range_job.hpp): a chunk is a piece [lo, hi] of the low members
// a of the pairs {a, N - a}, its line the six counts of
// goldbach_counts_u64_part,
//   all_pairs prime_pairs mixed_pairs composite_pairs low_primes high_primes
// which add up over the chunks to those of the whole N.
#include <atomic>
#include <cstdint>

#include "cli/plot_table.hpp"
#include "cli/progress.hpp"
#include "cli/range_job.hpp"
#include "cli/threads_option.hpp"
#include "goldbach/engine/counts.hpp"
#include "goldbach/engine/even_pairs.hpp"
#include "numtheory/goldbach/goldbach_convolution.hpp"
#include "numtheory/goldbach/pair_counts.hpp"

namespace ntb::cli {

namespace {

// One N without --list runs in chunks.
bool chunked(const Request& r) {
  return r.numbers.size() == 1 && !r.flag("--list");
}

std::string check(const Request& r) {
  if (std::string wrong = plot_usage_error(r, !r.flag("--list"),
                                           "--plot draws the counts; it does not take --list");
      !wrong.empty())
    return wrong;
  if (r.flag("--all") && !r.flag("--plot")) return "--all needs --plot FILE";
  // The comet is the counts of every even n of a range: one N, or a few,
  // would be a picture of isolated dots.
  if (r.flag("--plot") && r.numbers.size() != 2)
    return "--plot draws Goldbach's comet of a range A B, got " + std::to_string(r.numbers.size()) +
           (r.numbers.size() == 1 ? " number" : " numbers");
  const uint64_t half = chunked(r) ? static_cast<uint64_t>(r.numbers[0]) / 2 : 0;
  return chunk_usage_error(r, chunked(r),
                           r.flag("--list") ? "--checkpoint and --chunk do not take --list"
                                            : "--checkpoint and --chunk take one N, got " +
                                                  std::to_string(r.numbers.size()) + " numbers",
                           0, half);
}

// The largest even N of 64 bits.
constexpr Whole kGoldbachTop64 = UINT64_MAX - 1;

// The windows done of the 64-bit engine, shown by the progress line.
struct WindowsDone {
  std::atomic<uint64_t> done{0}, total{1};
  GoldbachProgress callback() {
    return [this](uint64_t d, uint64_t t) {
      total.store(t == 0 ? 1 : t, std::memory_order_relaxed);
      done.store(d, std::memory_order_relaxed);
    };
  }
  Progress::Fraction fraction() const {
    return [this] {
      return static_cast<double>(done.load(std::memory_order_relaxed)) /
             static_cast<double>(total.load(std::memory_order_relaxed));
    };
  }
};

// The counts of goldbach N (even, >= 6) by chunks into `total`, as
// goldbach_counts_u64 gives them; the status of run_range_job.
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

int run(const Request& r, Channels& io) {
  const unsigned threads = thread_count(r);
  if (r.flag("--list")) {
    if (r.numbers.size() != 1) {
      io.error("ntbench goldbach: --list takes one N, got " + std::to_string(r.numbers.size()));
      return 2;
    }
    io.out.header({"a", "b"});
    const Whole n = r.numbers[0];
    if (n <= kGoldbachTop) {
      for_each_prime_pair(static_cast<int32_t>(n), [&](int32_t a, int32_t b) {
        io.out.row(a, b);
        return true;
      });
      return 0;
    }
    // The engine calls the visitor on this thread and joins its workers
    // before any exception of the visitor (OutputClosed) leaves it.
    WindowsDone windows;
    Progress progress(windows.fraction(), status_line_wanted(r));
    goldbach_pairs_u64(
        static_cast<uint64_t>(n), threads,
        [&](uint64_t a, uint64_t b) {
          io.out.row(a, b);
          return true;
        },
        windows.callback());
    return 0;
  }
  if (r.numbers.size() == 2) return run_goldbach_range(r, io);
  const bool by_chunks = chunked(r) && runs_in_chunks(r, io);
  GoldbachCounts merged;
  if (by_chunks) {
    const int status = chunked_goldbach_counts(r, io, static_cast<uint64_t>(r.numbers[0]), merged);
    if (status != 0 || !writes_answer(io)) return status;
  }
  return print_or_plot(
      r, io, {"n", "prime_pairs", "mixed_pairs", "composite_pairs"}, comet_layout(r), "no N",
      [&](auto&& emit) {
        if (by_chunks) {
          emit(merged.n, merged.prime_pairs, merged.mixed_pairs, merged.composite_pairs);
          return;
        }
        for (const Whole n : r.numbers) {
          if (n <= kGoldbachTop) {
            const EvenPairs k = even_pairs_of(static_cast<int32_t>(n));
            emit(static_cast<int64_t>(n), k.prime, k.mixed, k.composite);
            continue;
          }
          WindowsDone windows;
          Progress progress(windows.fraction(), status_line_wanted(r));
          const GoldbachCounts k =
              goldbach_counts_u64(static_cast<uint64_t>(n), threads, windows.callback());
          emit(k.n, k.prime_pairs, k.mixed_pairs, k.composite_pairs);
        }
      });
}

}  // namespace

const Command& goldbach_command() {
  const Argument even_n{"N", kGoldbachLeast, kGoldbachTop64, {}, true};
  static const Command row{
      "goldbach",
      "the pairs of odd numbers with an even sum N, by kind",
      "For every even N given, the unordered pairs {a, b} of odd numbers a, b >= 3\n"
      "with a + b = N, counted by kind: both prime, one prime and one composite\n"
      "(mixed), both composite.  N goes up to 18446744073709551614 (2^64 - 2):\n"
      "up to 2000000 from the workbench's tables, above by sieving both halves\n"
      "of the pairs on --threads threads (10^10 takes seconds).  With --list\n"
      "(one N), the pairs of primes a b, a <= b, a ascending (columns: a b).\n"
      "With two numbers A B: the counts of every even n with A <= n <= B, for B up\n"
      "to 8000000 (all pairs of primes of the range at once, from one exact\n"
      "convolution).  --plot FILE draws Goldbach's comet, n against its pairs of\n"
      "primes, one dot per n; --all adds the mixed pairs and the pairs of\n"
      "composites.",
      {{{even_n}},
       {{Argument{"A", kGoldbachLeast, kGoldbachRangeTop},
         Argument{"B", kGoldbachLeast, kGoldbachRangeTop}},
        false,
        {{0, 1}}},
       {{even_n}, true}},
      {{"--list", "list the pairs of primes of one N (columns: a b)"},
       plot_option("with A B: draw Goldbach's comet into FILE (.svg, .png)"),
       {"--all", "with --plot: the mixed and composite pairs too"},
       threads_option(),
       no_status_option(),
       checkpoint_option(),
       chunk_option()},
      "n prime_pairs mixed_pairs composite_pairs",
      check,
      run,
      chunked,
  };
  return row;
}

}  // namespace ntb::cli
