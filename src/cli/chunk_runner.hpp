// Where the chunks of a long range command are computed.  A range command
// (primes --count, twins --count, gaps, goldbach N, goldbach-verify) cut
// into chunks computes each chunk independently and writes its partial
// result as one line of text; the command then merges the lines in chunk
// order into its answer.  The runner decides which process computes which
// chunk: the local runner computes them all here, in ascending order, each
// on the threads of --threads; the MPI runner of ntbench-mpi hands them out
// to its ranks as they become free and collects the lines on rank 0.
// The command itself never knows which runner it has, so both programs give
// the same answer byte for byte.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ntb::cli {

class ChunkRunner {
 public:
  virtual ~ChunkRunner() = default;

  // compute(i) is the result line of chunk i (no line end); it is called
  // on whichever process the runner picks, for every i in [0, chunks) with
  // done[i] false (done is empty or has `chunks` entries; every process
  // passes the same arguments).  finished(i, line) is called on the
  // process that writes the answer, once per computed chunk, in any order
  // and never concurrently; a checkpoint appends the line there.  Returns
  // when every chunk is finished; an exception from compute or finished
  // (Ctrl-C among them) stops the run and reaches the caller.
  virtual void run(uint64_t chunks, const std::vector<bool>& done,
                   const std::function<std::string(uint64_t)>& compute,
                   const std::function<void(uint64_t, std::string_view)>& finished) = 0;

  // True on the one process that writes the answer (and reads and writes
  // a checkpoint): always for the local runner, rank 0 for MPI.
  virtual bool writes_answer() const = 0;

  // How many processes compute chunks (1 for the local runner); the
  // default chunk length is chosen so that each gets several.
  virtual unsigned processes() const = 0;
};

// The runner of ntbench: every chunk here, in ascending order.
ChunkRunner& local_chunk_runner();

}  // namespace ntb::cli
