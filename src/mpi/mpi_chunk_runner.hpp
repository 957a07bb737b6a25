// The chunk runner of ntbench-mpi: the chunks of a range command handed out
// to the ranks of MPI_COMM_WORLD as they become free.  Rank 0 coordinates
// and computes chunks too; every rank computes a chunk on the threads of
// --threads; only rank 0 sees the result lines, calls finished() and writes
// the answer.  mpi_chunk_runner.cpp explains the messages and the waiting.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/chunk_runner.hpp"

namespace ntb::mpi {

// What rank 0 counted over the runs of one process (NTBENCH_MPI_STATS=1
// prints it): the chunks computed where, and the bytes of every message
// between rank 0 and the other ranks.
struct RunnerStats {
  uint64_t chunks_on_rank0 = 0;
  uint64_t chunks_on_others = 0;
  uint64_t messages_to_rank0 = 0;    // results, and one "ready" per rank and run
  uint64_t bytes_to_rank0 = 0;       // their payload: an index and a result line each
  uint64_t messages_from_rank0 = 0;  // chunk indexes and "stop"s
  uint64_t bytes_from_rank0 = 0;
};

class MpiChunkRunner final : public cli::ChunkRunner {
 public:
  // Reads rank and size of MPI_COMM_WORLD (MPI is initialised with at least
  // MPI_THREAD_FUNNELED: only the main thread calls MPI).
  MpiChunkRunner();

  // Every rank calls run with the same chunk count and compute; `done` and
  // `finished` are used on rank 0 only (the other ranks may pass anything).
  // Called from the main thread.  On rank 0, compute also runs on a second
  // thread, at the same time as finished() on the main one.
  void run(uint64_t chunks, const std::vector<bool>& done,
           const std::function<std::string(uint64_t)>& compute,
           const std::function<void(uint64_t, std::string_view)>& finished) override;
  bool writes_answer() const override { return rank_ == 0; }
  unsigned processes() const override { return static_cast<unsigned>(size_); }

  int rank() const { return rank_; }

  // After the command: rank 0 sends its exit status to every other rank and
  // returns it; another rank waits for it and returns it, so that all ranks
  // end alike.  A rank still waiting for a chunk when rank 0 ends (rank 0
  // stopped before a run, at a usage error found at run time) is ended
  // from inside run by MPI_Finalize and exit with that status.
  int finish(int status);

  const RunnerStats& stats() const { return stats_; }

 private:
  void coordinate(uint64_t run, uint64_t chunks, const std::vector<bool>& done,
                  const std::function<std::string(uint64_t)>& compute,
                  const std::function<void(uint64_t, std::string_view)>& finished);
  void work(uint64_t run, const std::function<std::string(uint64_t)>& compute);

  int rank_ = 0;
  int size_ = 1;
  uint64_t runs_ = 0;  // runs so far: their parity tells one run's messages from the next's
  RunnerStats stats_;
};

}  // namespace ntb::mpi
