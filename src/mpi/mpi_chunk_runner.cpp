// The chunks of a range command over the ranks of MPI_COMM_WORLD, handed
// out one at a time: a rank that finishes a chunk gets the next one, so a
// fast machine takes more chunks than a slow one and none waits for the
// others until the last chunks are out.
//
// Messages (MPI_BYTE, all between rank 0 and one other rank):
//   to rank 0    the 8-byte index of the chunk just computed and its result
//                line; the first message of a run is the index kNone alone
//                ("ready").  Tag request_tag(run).
//   from rank 0  the 8-byte index of the next chunk, or kNone: no chunk is
//                left, the run is over for that rank.  Tag assign_tag(run).
//   kFinish      after the command, rank 0's exit status (an int); a rank
//                still waiting in a run that rank 0 never entered ends.
// So a chunk costs its rank 8 + (line length) bytes sent and 8 received,
// whatever the chunk's length.  The tags of a run alternate with the
// parity of the run: a rank told "stop" may start the command's next run
// and send its "ready" while rank 0 still collects the last run's results.
//
// Rank 0 coordinates on its main thread (MPI_THREAD_FUNNELED: no other
// thread calls MPI) and computes chunks on a second thread that takes them
// from the same cursor.  The main thread does not block in MPI: OpenMPI
// spins a core in a blocking receive, and the ranks of one machine share
// its cores with their computing threads.  It probes for messages and takes
// the local results, and when there was nothing it sleeps, a little longer
// each time (20 us doubling up to 1 ms), so it wakes a thousand times a
// second at most while every rank computes, and answers a rank at most a
// millisecond late, nothing beside chunks of a second or more.  One chunk
// ahead per rank (an index sent before the rank asks) would hide that
// millisecond too, at the cost of a rank holding a chunk another could take
// at the end of the run; with chunks of seconds it is not worth it.  The
// other ranks wait for their next index the same way.
//
// Failures: an exception from compute on another rank is written to
// standard error and ends the whole job by MPI_Abort (nothing on that rank
// could be merged).  On rank 0 an exception from compute or finished stops
// the hand-out: every rank is told "stop" when it asks next (it finishes
// its chunk first), then the exception reaches the caller, who writes its
// message, and finish() ends the other ranks with rank 0's status.  Ctrl-C
// reaches every rank from mpirun and ends it there.
#include "mpi/mpi_chunk_runner.hpp"

#include <mpi.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

namespace ntb::mpi {

namespace {

constexpr uint64_t kNone = UINT64_MAX;
constexpr int kFinish = 1;
// The request and assign tags of a run: 2, 3 for even runs, 4, 5 for odd.
int request_tag(uint64_t run) {
  return 2 + 2 * static_cast<int>(run % 2);
}
int assign_tag(uint64_t run) {
  return request_tag(run) + 1;
}

// The sleep between two probes that found nothing: short at first, so that
// a quick exchange stays quick, then up to a millisecond.
class Nap {
 public:
  void reset() { length_ = kShortest; }
  void take() {
    std::this_thread::sleep_for(length_);
    length_ = std::min(length_ * 2, kLongest);
  }

 private:
  static constexpr std::chrono::microseconds kShortest{20};
  static constexpr std::chrono::microseconds kLongest{1000};
  std::chrono::microseconds length_ = kShortest;
};

bool probe(int source, int tag, MPI_Status* status) {
  int flag = 0;
  MPI_Iprobe(source, tag, MPI_COMM_WORLD, &flag, status);
  return flag != 0;
}

[[noreturn]] void abort_job(int rank, const char* what) {
  std::fprintf(stderr, "ntbench-mpi: rank %d: %s\n", rank, what);
  std::fflush(stderr);
  MPI_Abort(MPI_COMM_WORLD, 1);
  std::abort();  // not reached
}

// A chunk's index followed by its result line, the payload of a request.
std::string request_payload(uint64_t index, std::string_view line) {
  std::string payload(sizeof index, '\0');
  std::memcpy(payload.data(), &index, sizeof index);
  payload.append(line);
  return payload;
}

}  // namespace

MpiChunkRunner::MpiChunkRunner() {
  MPI_Comm_rank(MPI_COMM_WORLD, &rank_);
  MPI_Comm_size(MPI_COMM_WORLD, &size_);
}

void MpiChunkRunner::run(uint64_t chunks, const std::vector<bool>& done,
                         const std::function<std::string(uint64_t)>& compute,
                         const std::function<void(uint64_t, std::string_view)>& finished) {
  // The run's tags are chosen now: a run that ends by an exception counts too.
  const uint64_t run = runs_++;
  if (rank_ == 0)
    coordinate(run, chunks, done, compute, finished);
  else
    work(run, compute);
}

void MpiChunkRunner::coordinate(uint64_t run, uint64_t chunks, const std::vector<bool>& done,
                                const std::function<std::string(uint64_t)>& compute,
                                const std::function<void(uint64_t, std::string_view)>& finished) {
  if (size_ == 1) {  // no one to hand chunks to: this thread computes them all
    for (uint64_t i = 0; i < chunks; ++i)
      if (done.empty() || !done[i]) {
        finished(i, compute(i));
        ++stats_.chunks_on_rank0;
      }
    return;
  }
  // The state that the computing thread shares with this one.
  std::mutex mutex;
  uint64_t cursor = 0;
  bool stopped = false;  // an exception: no more chunks are handed out
  std::exception_ptr failure;
  std::vector<std::pair<uint64_t, std::string>> local_results;
  bool local_over = false;
  auto next_chunk = [&]() -> uint64_t {  // under the mutex
    while (cursor < chunks && !done.empty() && done[cursor]) ++cursor;
    return stopped || cursor == chunks ? kNone : cursor++;
  };
  auto fail = [&](std::exception_ptr e) {  // under the mutex
    if (!failure) failure = std::move(e);
    stopped = true;
  };

  std::thread local([&] {
    for (;;) {
      uint64_t i;
      {
        std::lock_guard lock(mutex);
        i = next_chunk();
      }
      if (i == kNone) break;
      try {
        std::string line = compute(i);
        std::lock_guard lock(mutex);
        local_results.emplace_back(i, std::move(line));
      } catch (...) {
        std::lock_guard lock(mutex);
        fail(std::current_exception());
        break;
      }
    }
    std::lock_guard lock(mutex);
    local_over = true;
  });

  // finished() on this thread only, never after a failure.
  auto finish_chunk = [&](uint64_t i, std::string_view line) {
    {
      std::lock_guard lock(mutex);
      if (stopped) return;
    }
    try {
      finished(i, line);
    } catch (...) {
      std::lock_guard lock(mutex);
      fail(std::current_exception());
    }
  };

  const int tag = request_tag(run);
  int ranks_running = size_ - 1;  // not yet told "stop" in this run
  bool local_running = true;
  std::vector<std::pair<uint64_t, std::string>> taken;
  std::string payload;
  Nap nap;
  while (ranks_running > 0 || local_running) {
    bool busy = false;
    MPI_Status status;
    while (ranks_running > 0 && probe(MPI_ANY_SOURCE, tag, &status)) {
      busy = true;
      int bytes = 0;
      MPI_Get_count(&status, MPI_BYTE, &bytes);
      payload.resize(static_cast<size_t>(bytes));
      MPI_Recv(payload.data(), bytes, MPI_BYTE, status.MPI_SOURCE, tag, MPI_COMM_WORLD,
               MPI_STATUS_IGNORE);
      ++stats_.messages_to_rank0;
      stats_.bytes_to_rank0 += static_cast<uint64_t>(bytes);
      uint64_t index = kNone;
      if (payload.size() >= sizeof index) std::memcpy(&index, payload.data(), sizeof index);
      if (index != kNone) {
        ++stats_.chunks_on_others;
        finish_chunk(index, std::string_view(payload).substr(sizeof index));
      }
      uint64_t next;
      {
        std::lock_guard lock(mutex);
        next = next_chunk();
      }
      MPI_Send(&next, sizeof next, MPI_BYTE, status.MPI_SOURCE, tag + 1, MPI_COMM_WORLD);
      ++stats_.messages_from_rank0;
      stats_.bytes_from_rank0 += sizeof next;
      if (next == kNone) --ranks_running;
    }
    {
      std::lock_guard lock(mutex);
      taken.swap(local_results);
      local_running = !local_over;
    }
    for (const auto& [i, line] : taken) {
      busy = true;
      ++stats_.chunks_on_rank0;
      finish_chunk(i, line);
    }
    taken.clear();
    if (busy)
      nap.reset();
    else if (ranks_running > 0 || local_running)
      nap.take();
  }
  local.join();
  for (const auto& [i, line] : local_results) {  // those added after the last look
    ++stats_.chunks_on_rank0;
    finish_chunk(i, line);
  }
  if (failure) std::rethrow_exception(failure);
}

void MpiChunkRunner::work(uint64_t run, const std::function<std::string(uint64_t)>& compute) {
  const int request = request_tag(run);
  const int assign = assign_tag(run);
  std::string payload = request_payload(kNone, {});
  for (;;) {
    MPI_Send(payload.data(), static_cast<int>(payload.size()), MPI_BYTE, 0, request,
             MPI_COMM_WORLD);
    Nap nap;
    MPI_Status status;
    while (!probe(0, assign, &status)) {
      if (probe(0, kFinish, &status)) {  // rank 0 ended without this run
        const int code = finish(0);
        MPI_Finalize();
        std::exit(code);
      }
      nap.take();
    }
    uint64_t index = kNone;
    MPI_Recv(&index, sizeof index, MPI_BYTE, 0, assign, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
    if (index == kNone) return;
    try {
      const std::string line = compute(index);
      if (line.size() > static_cast<size_t>(INT_MAX) - sizeof index)
        abort_job(rank_, "a chunk's result line is too long for one message");
      payload = request_payload(index, line);
    } catch (const std::exception& e) {
      abort_job(rank_, e.what());
    } catch (...) {
      abort_job(rank_, "the chunk was not computed");
    }
  }
}

int MpiChunkRunner::finish(int status) {
  if (rank_ == 0) {
    for (int r = 1; r < size_; ++r) MPI_Send(&status, 1, MPI_INT, r, kFinish, MPI_COMM_WORLD);
    return status;
  }
  Nap nap;
  MPI_Status probed;
  while (!probe(0, kFinish, &probed)) nap.take();
  MPI_Recv(&status, 1, MPI_INT, 0, kFinish, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
  return status;
}

}  // namespace ntb::mpi
