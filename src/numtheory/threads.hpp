// How many threads the multithreaded engines use when the caller names no
// number: the CPUs this process may run on.  That is the affinity mask, not
// the machine's CPU count, so that `taskset -c 0 ntbench ...` or a container
// limited to two CPUs gets two threads, not one per CPU of the host.
#pragma once

namespace ntb {

// The CPUs in the process's affinity mask (sched_getaffinity), at least 1.
int default_thread_count();

// The thread count an engine runs with for a caller's request: the request
// itself when it is at least 1, default_thread_count() when it is 0 or less.
inline int thread_count_for(int requested) {
  return requested >= 1 ? requested : default_thread_count();
}

}  // namespace ntb
