// The CPUs of the affinity mask.  The mask is read with a set sized for
// 4096 CPUs first and with a larger one if the kernel reports more.
#include "numtheory/threads.hpp"

#include <sched.h>

#include <memory>

namespace ntb {

int default_thread_count() {
  for (int cpus = 4096; cpus <= (1 << 20); cpus *= 4) {
    const size_t bytes = CPU_ALLOC_SIZE(cpus);
    const auto release = [](cpu_set_t* set) { CPU_FREE(set); };
    const std::unique_ptr<cpu_set_t, decltype(release)> set(CPU_ALLOC(cpus), release);
    if (!set) return 1;
    CPU_ZERO_S(bytes, set.get());
    if (sched_getaffinity(0, bytes, set.get()) == 0) {
      const int n = CPU_COUNT_S(bytes, set.get());
      return n >= 1 ? n : 1;
    }
  }
  return 1;
}

}  // namespace ntb
