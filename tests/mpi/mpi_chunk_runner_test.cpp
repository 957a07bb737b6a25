// The MPI chunk runner on its own, run by ctest as `mpirun -n 3`: a table
// of runs with a stand-in compute whose line names the chunk and the rank
// that computed it.  Rank 0 checks that every chunk not done is finished
// exactly once with its own line (short lines, empty lines, a line of a
// megabyte), that done chunks are never computed, that a slow rank takes
// fewer chunks than a fast one, and that an exception from finished or
// from compute on rank 0 reaches the caller while the other ranks are
// released and the next run works.  Exit status 0 on every rank when all
// held, 1 otherwise (rank 0 says which case failed).
#include "mpi/mpi_chunk_runner.hpp"

#include <mpi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Case {
  const char* name;
  uint64_t chunks;
  int done_every;            // chunk i is done when i % done_every == 1 % done_every (0: none)
  size_t long_line_at;       // this chunk's line is a megabyte (chunks: none)
  uint64_t finished_throws;  // finished throws at this chunk (chunks: never)
  uint64_t compute_throws;   // compute throws on rank 0 from this chunk on (chunks: never)
  int slow_rank;             // this rank sleeps 10 ms a chunk, the others 0.3 ms (-1: none)
};

std::string line_of(uint64_t i, int rank, size_t long_line_at) {
  std::string line = std::to_string(i) + ":" + std::to_string(rank) + ":";
  if (i == long_line_at)
    line.append(1 << 20, 'x');
  else
    line.append(i % 4, static_cast<char>('a' + i % 26));  // i % 4 == 0: nothing after the colon
  return line;
}

// The line's chunk and rank when it is the line of its chunk, else -1.
int computing_rank(uint64_t i, std::string_view line, size_t long_line_at) {
  const std::string prefix = std::to_string(i) + ":";
  if (line.substr(0, prefix.size()) != prefix) return -1;
  const size_t colon = line.find(':', prefix.size());
  if (colon == std::string_view::npos) return -1;
  const int rank = std::stoi(std::string(line.substr(prefix.size(), colon - prefix.size())));
  return line == line_of(i, rank, long_line_at) ? rank : -1;
}

bool run_case(ntb::mpi::MpiChunkRunner& runner, const Case& c) {
  const int rank = runner.rank();
  std::vector<bool> done;
  if (rank == 0 && c.done_every != 0) {
    done.resize(c.chunks);
    for (uint64_t i = 0; i < c.chunks; ++i) done[i] = i % c.done_every == 1 % c.done_every;
  }
  std::map<uint64_t, int> finished_by;  // chunk -> rank that computed it
  std::string fault;
  auto compute = [&](uint64_t i) {
    if (rank == 0 && i >= c.compute_throws) throw std::runtime_error("compute failed");
    std::this_thread::sleep_for(std::chrono::microseconds(rank == c.slow_rank ? 10000 : 300));
    return line_of(i, rank, c.long_line_at);
  };
  auto finished = [&](uint64_t i, std::string_view line) {
    if (i == c.finished_throws) throw std::runtime_error("finished failed");
    if (i >= c.chunks || (!done.empty() && done[i])) fault = "a chunk not asked for";
    if (finished_by.count(i) != 0) fault = "a chunk finished twice";
    const int by = computing_rank(i, line, c.long_line_at);
    if (by < 0) fault = "a chunk finished with another's line";
    finished_by[i] = by;
  };
  MPI_Barrier(MPI_COMM_WORLD);  // every rank starts the run at once
  const bool expect_throw = c.finished_throws < c.chunks || c.compute_throws < c.chunks;
  bool threw = false;
  try {
    runner.run(c.chunks, done, compute, finished);
  } catch (const std::runtime_error&) {
    threw = true;
  }
  if (rank != 0) return true;
  if (threw != expect_throw) fault = threw ? "an exception from nowhere" : "the exception was lost";
  if (!expect_throw) {
    uint64_t wanted = 0;
    for (uint64_t i = 0; i < c.chunks; ++i) wanted += done.empty() || !done[i];
    if (finished_by.size() != wanted) fault = "chunks missing";
  }
  if (c.slow_rank >= 0) {  // fewer than the busiest rank, which may be any other on a busy machine
    std::map<int, int> taken;
    for (const auto& [i, by] : finished_by) ++taken[by];
    int most = 0;
    for (const auto& [by, count] : taken)
      if (by != c.slow_rank) most = std::max(most, count);
    if (taken[c.slow_rank] >= most) fault = "the slow rank took as many chunks as a fast one";
  }
  if (!fault.empty())
    std::fprintf(stderr, "mpi_chunk_runner_test: %s: %s\n", c.name, fault.c_str());
  return fault.empty();
}

}  // namespace

int main(int argc, char** argv) {
  int provided = 0;
  MPI_Init_thread(&argc, &argv, MPI_THREAD_FUNNELED, &provided);
  ntb::mpi::MpiChunkRunner runner;
  constexpr uint64_t kNever = UINT64_MAX;
  const Case cases[] = {
      {"no chunks", 0, 0, kNever, kNever, kNever, -1},
      {"one chunk", 1, 0, kNever, kNever, kNever, -1},
      {"fewer chunks than ranks", 2, 0, kNever, kNever, kNever, -1},
      {"a slow rank", 120, 0, kNever, kNever, kNever, 1},
      {"a third done", 50, 3, kNever, kNever, kNever, -1},
      {"all done", 5, 1, kNever, kNever, kNever, -1},
      {"a megabyte line", 9, 0, 4, kNever, kNever, -1},
      {"finished throws", 40, 0, kNever, 17, kNever, -1},
      {"after the failure", 10, 0, kNever, kNever, kNever, -1},
      {"compute throws on rank 0", 40, 0, kNever, kNever, 0, -1},
      {"after the second failure", 30, 4, kNever, kNever, kNever, 2},
  };
  bool ok = true;
  for (const Case& c : cases) ok = run_case(runner, c) && ok;
  if (runner.rank() == 0 && runner.processes() < 2) {
    std::fprintf(stderr, "mpi_chunk_runner_test: run it on 2 ranks or more\n");
    ok = false;
  }
  const int status = runner.finish(ok ? 0 : 1);
  MPI_Finalize();
  return status;
}
