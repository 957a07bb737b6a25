// A bit table with running counts: 64-bit words, each with the number of set
// bits in the words before it, so that the count of the set bits up to any
// place is one popcount away.  The lookups of prime counts (a bit per number
// prime to 30, numtheory/tables/pi_lookup.hpp) and of findp's runs on an
// edited table (a bit where a run starts, numtheory/tables/findp_lookup.hpp)
// are both this table.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ntb {

// The functions that count bits in a loop are built twice where the target
// lacks the popcnt instruction (the baseline x86-64 does): once with it, once
// without, and the loader picks the one the processor can run.
#if defined(__x86_64__) && !defined(__POPCNT__)
#define NTB_POPCNT_CLONES __attribute__((target_clones("popcnt", "default")))
#else
#define NTB_POPCNT_CLONES
#endif

// The bits set in z: the instruction where the target has one, else the
// bit-parallel sum inline (cheaper than a call), which the compiler turns
// into the instruction in the popcnt clones.
inline uint32_t popcount64(uint64_t z) {
#if defined(__POPCNT__) || !defined(__x86_64__)
  return static_cast<uint32_t>(std::popcount(z));
#else
  z -= (z >> 1) & 0x5555555555555555;
  z = (z & 0x3333333333333333) + ((z >> 2) & 0x3333333333333333);
  z = (z + (z >> 4)) & 0x0f0f0f0f0f0f0f0f;
  return static_cast<uint32_t>(z * 0x0101010101010101 >> 56);
#endif
}

// One word and the set bits before it, side by side: a lookup reads one
// cache line.
struct RankedWord {
  uint64_t bits = 0;
  uint64_t before = 0;
};

class BitRanks {
 public:
  BitRanks() = default;
  explicit BitRanks(size_t words) : words_(words) {}  // all bits clear

  size_t size() const { return words_.size(); }
  void set(uint64_t i) { words_[i >> 6].bits |= uint64_t{1} << (i & 63); }
  void set_word(size_t w, uint64_t bits) { words_[w].bits = bits; }

  // Fills the running counts once the bits are in; `first` counts as set
  // before word 0.
  void count(uint64_t first = 0);

  // The set bits of word w under mask, and all those before the word.
  static uint64_t ones(const RankedWord* words, size_t w, uint64_t mask) {
    return words[w].before + popcount64(words[w].bits & mask);
  }
  // The set bits at places 0..i (i below 64 size()), after count().
  uint64_t ones_through(uint64_t i) const {
    return ones(words_.data(), i >> 6, ~uint64_t{0} >> (63 - (i & 63)));
  }
  const RankedWord* words() const { return words_.data(); }

 private:
  std::vector<RankedWord> words_;
};

}  // namespace ntb
