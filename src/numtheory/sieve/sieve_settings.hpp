// libprimesieve's settings for one walk or count over a range, put back when
// it ends (the library keeps them process-wide): a sieve segment the size of
// a CPU's share of the level 2 cache and, when asked, each sieve on one
// thread.  The library's own segment is a few times smaller; the larger one
// leaves fewer sieving primes to its bucket sieve and walks or counts a
// range some 15% faster.
#pragma once

namespace ntb {

// A CPU's share of its level 2 cache in KiB: the cache over the CPUs that
// share it (two hardware threads of one core); 0 when unknown.
long level2_share_kib();

class SieveSettings {
 public:
  explicit SieveSettings(bool single_threaded);
  ~SieveSettings();
  SieveSettings(const SieveSettings&) = delete;
  SieveSettings& operator=(const SieveSettings&) = delete;

 private:
  const int size_, threads_;
};

}  // namespace ntb
