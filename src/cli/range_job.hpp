// A range command run in chunks: the interval [A, B] cut into chunks of
// length S (chunk i is [A + i*S, min(B, A + (i+1)*S - 1)]), each computed
// apart into one line of text holding its partial result, and the lines
// merged in chunk order into the answer the command prints when it runs in
// one piece.  The chunks go through a ChunkRunner (here, or on the ranks of
// ntbench-mpi) and, with --checkpoint FILE, each finished chunk's line is
// kept in FILE so that a rerun skips it.
//
// A command runs in chunks when --checkpoint or --chunk is given, or when
// its runner is not the local one; otherwise it keeps its one-piece way,
// which gives the same answer.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "cli/chunk_runner.hpp"
#include "cli/command.hpp"

namespace ntb::cli {

// The most chunks one run may be cut into (a checkpoint line each).
inline constexpr uint64_t kMostChunks = 1000000;

// The chunks of [a, b] (a <= b) of length `length` (>= 1).
struct ChunkPlan {
  uint64_t a = 0, b = 0, length = 1, chunks = 1;
  ChunkPlan(uint64_t a, uint64_t b, uint64_t length);
  uint64_t low(uint64_t i) const { return a + i * length; }
  uint64_t high(uint64_t i) const { return i + 1 == chunks ? b : a + (i + 1) * length - 1; }
};

// How many chunks of `length` cut [a, b], without overflow.
inline uint64_t chunk_count(uint64_t a, uint64_t b, uint64_t length) {
  return (b - a) / length + 1;
}

// The chunk length when --chunk is not given: long enough to repay the
// sieving primes up to sqrt(top) each chunk starts with (at least 2^30
// numbers, 64 sqrt(top) near 2^64, so that every thread of a machine gets a
// slice of its own), and short enough
// to give 1024 chunks (8 for each process past 128 processes), so that the
// processes stay busy to the end and a checkpoint is written often.  The
// same for any number of processes up to 128: a checkpoint of one program
// resumes under the other.
uint64_t default_chunk_length(uint64_t a, uint64_t b, uint64_t top, unsigned processes);

// The options of a command that runs in chunks.
CommandOption checkpoint_option();
CommandOption chunk_option();

// The check of --checkpoint and --chunk for a command line whose range is
// [a, b]: whether this form runs in chunks at all (`refused` says why not),
// and no more than kMostChunks chunks.  An empty text, or the usage error.
std::string chunk_usage_error(const Request& r, bool chunked, std::string_view refused, uint64_t a,
                              uint64_t b);

// Whether the command runs in chunks: --checkpoint or --chunk given, or a
// runner other than the local one.
bool runs_in_chunks(const Request& r, const Channels& io);

// The runner of the channels (the local one when none is set).
ChunkRunner& runner_of(const Channels& io);

// Whether this process writes the answer (the only one that merges).
inline bool writes_answer(const Channels& io) {
  return runner_of(io).writes_answer();
}

struct RangeJob {
  // The job as a checkpoint's header names it, without the chunk length:
  // the command and its numbers, and the options that change the chunks'
  // results ("twins --count 0 1000").
  std::string name;
  uint64_t a = 0, b = 0;  // the interval cut into chunks
  uint64_t top = 0;       // the largest number sieved (for the default chunk length)
  // The line of the chunk [low, high]; progress, when given, holds the
  // fraction of it done.  Called on any process, one chunk at a time on each.
  std::function<std::string(uint64_t low, uint64_t high, std::atomic<double>* progress)> compute;
  // On the process that writes the answer, once the checkpoint is accepted
  // and before the first merge (the listings write their header there).
  std::function<void()> begin;
  // On that process, every chunk's line in chunk order.
  std::function<void(std::string_view line)> merge;
};

// Thrown by a merge given a line that does not read as a result of its
// job (a checkpoint written by a different build of the program).
struct ChunkLineError {};

// The job's name from the command line: the command, the options among
// `result_options` that were given, and the numbers.
std::string job_name(const Request& r, std::initializer_list<std::string_view> result_options);

// Runs the job: opens the checkpoint of --checkpoint, computes the chunks
// it does not hold through the runner, and merges every chunk in order.
// The status: 0 when the merge is complete (the caller then writes what is
// left of the answer, on the process that writes it), else the status of a
// problem with the checkpoint, whose line is already on standard error.
int run_range_job(const Request& r, Channels& io, const RangeJob& job);

// Reading the result lines: whole numbers separated by blanks.
class ResultReader {
 public:
  explicit ResultReader(std::string_view line) : rest_(line) {}
  uint64_t next();  // throws ChunkLineError when none is left or it is no number
  bool done() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

// Writing them.
class ResultWriter {
 public:
  ResultWriter& operator<<(uint64_t v);
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace ntb::cli
