// The prime count lookup: a bit for each prime of y, counts per word.
#include "numtheory/tables/pi_lookup.hpp"

namespace ntb {

const PiLookup& PiLookup::of(const Tables& t) {
  static PiLookup lookup;
  static bool built = false;
  if (!built) {
    lookup.build(t);
    built = true;
  }
  return lookup;
}

void PiLookup::build(const Tables& t) {
  // Slot 0 stands for 2 (1 is not prime, 2 is the only even prime), so that
  // the slots up to (x - 1) / 2 hold the primes up to x.
  bits_[0] |= 1;
  for (int32_t i = 2; i <= kYFilled; ++i) {
    const int32_t p = t.y[i];
    if (p >= kPiLookupTop) break;
    const uint32_t j = static_cast<uint32_t>(p) >> 1;
    bits_[j >> 6] |= uint64_t{1} << (j & 63);
  }
  int32_t running = 0;
  for (int32_t w = 0; w < kWords; ++w) {
    before_[w] = running;
    running += __builtin_popcountll(bits_[w]);
  }
}

}  // namespace ntb
