// The settings of sieve_settings.hpp: the level 2 cache from sysconf and the
// CPUs sharing it from the kernel's map of cpu0's cache.
#include "numtheory/sieve/sieve_settings.hpp"

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <fstream>
#include <primesieve.hpp>

namespace ntb {

long level2_share_kib() {
  static const long share = [] {
    const long size = ::sysconf(_SC_LEVEL2_CACHE_SIZE);
    if (size <= 0) return 0L;
    int sharing = 0;  // the bits of the mask of the CPUs sharing cpu0's cache
    std::ifstream map("/sys/devices/system/cpu/cpu0/cache/index2/shared_cpu_map");
    for (char c; map.get(c);) {
      const auto u = static_cast<unsigned char>(c);
      if (std::isxdigit(u))
        sharing += std::popcount(std::isdigit(u) ? u - '0' : (u | 0x20) - 'a' + 10u);
    }
    return size / 1024 / std::max(sharing, 1);
  }();
  return share;
}

SieveSettings::SieveSettings(bool single_threaded)
    : size_(primesieve::get_sieve_size()), threads_(primesieve::get_num_threads()) {
  const long l2 = level2_share_kib();
  if (l2 > size_) primesieve::set_sieve_size(static_cast<int>(std::min<long>(l2, 8192)));
  if (single_threaded) primesieve::set_num_threads(1);
}

SieveSettings::~SieveSettings() {
  primesieve::set_sieve_size(size_);
  primesieve::set_num_threads(threads_);
}

}  // namespace ntb
