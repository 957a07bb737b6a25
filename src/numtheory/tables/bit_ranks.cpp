// The running counts of a BitRanks.
#include "numtheory/tables/bit_ranks.hpp"

namespace ntb {

namespace {

NTB_POPCNT_CLONES void running_counts(RankedWord* words, size_t n, uint64_t first) {
  for (size_t w = 0; w < n; ++w) {
    words[w].before = first;
    first += popcount64(words[w].bits);
  }
}

}  // namespace

void BitRanks::count(uint64_t first) {
  running_counts(words_.data(), words_.size(), first);
}

}  // namespace ntb
