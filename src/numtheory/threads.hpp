// Threads for the computations: how many to start by default (the CPUs this
// process may run on), and one loop that hands the indices 0..count-1 out
// to that many threads in small chunks, so that uneven work (one hard
// number among easy ones) keeps every thread busy.
#pragma once

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

namespace ntb {

// The CPUs in the process's affinity mask, at least 1.
inline unsigned default_thread_count() {
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
  const int n = CPU_COUNT(&set);
  return n > 0 ? static_cast<unsigned>(n) : 1;
}

// Calls f(i) once for every i in [0, count), on up to `threads` threads (the
// calling one among them); returns when all calls have returned.  f must be
// safe to call from several threads at once for different i.
template <typename F>
void parallel_for(size_t count, unsigned threads, F f) {
  constexpr size_t kChunk = 16;
  const size_t chunks = (count + kChunk - 1) / kChunk;
  const size_t workers = std::min<size_t>(std::max(threads, 1u), chunks);
  if (workers <= 1) {
    for (size_t i = 0; i < count; ++i) f(i);
    return;
  }
  std::atomic<size_t> next{0};
  const auto work = [&] {
    for (size_t c; (c = next.fetch_add(1, std::memory_order_relaxed)) < chunks;)
      for (size_t i = c * kChunk; i < std::min(count, (c + 1) * kChunk); ++i) f(i);
  };
  std::vector<std::thread> pool;
  pool.reserve(workers - 1);
  for (size_t k = 1; k < workers; ++k) pool.emplace_back(work);
  work();
  for (std::thread& t : pool) t.join();
}

}  // namespace ntb
