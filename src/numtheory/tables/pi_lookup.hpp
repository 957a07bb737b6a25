// pi(x) in constant time: the primes up to a limit as a bit for each number
// prime to 30, laid out as the wheel sieve lays them (a byte per 30 numbers,
// numtheory/sieve/wheel_sieve.hpp), eight bytes a word of a BitRanks, so
// that pi(x) is the count before x's word plus one popcount.
//
// prime_pi builds one up to x^(2/3) for each x it counts.  The workbench's
// is built once from the sieve of the tables as built: on a pristine y,
// findp(x) is the number of primes up to x for every x below 2000390, and
// every pristine table holds the same primes, so one lookup serves them all.
#pragma once

#include <array>
#include <cstdint>

#include "numtheory/tables/bit_ranks.hpp"
#include "numtheory/tables/tables.hpp"

namespace ntb {

inline constexpr int32_t kPiLookupTop = 2000390;  // the workbench's lookup serves x below this

class PiLookup {
 public:
  // The primes up to limit (0 <= limit <= 2^31 - 30), sieved here.
  explicit PiLookup(uint32_t limit);
  // The primes a wheel sieve up to limit holds.
  PiLookup(const uint8_t* composite, uint32_t limit);

  // The lookup for a pristine table (t.y_pristine must hold).
  static const PiLookup& of(const Tables& t);

  // pi(v) for 0 <= v <= the limit.
  uint32_t pi(uint32_t v) const { return v < 7 ? kSmallPi[v] : pi_from_7(ranks_.words(), v); }
  // pi(v) for 7 <= v <= the limit from the words of a lookup, for loops that
  // keep the pointer in a register.
  static uint32_t pi_from_7(const RankedWord* words, uint32_t v) {
    return static_cast<uint32_t>(BitRanks::ones(words, v / 240, kUpTo[v % 240]));
  }
  const RankedWord* words() const { return ranks_.words(); }

  // findp(x) on a pristine table, for any x.
  int32_t operator()(int32_t x, const Tables& t) const {
    if (x >= kPiLookupTop) return findp_of(x, t);
    return x < 0 ? 0 : static_cast<int32_t>(pi(static_cast<uint32_t>(x)));
  }

 private:
  static constexpr std::array<uint32_t, 7> kSmallPi = {0, 0, 1, 2, 2, 3, 3};  // pi(v), v < 7

  // For r < 240, the bits of a word that stand for the offsets 0..r.
  static constexpr std::array<uint64_t, 240> kUpTo = [] {
    constexpr int32_t wheel[8] = {1, 7, 11, 13, 17, 19, 23, 29};
    std::array<uint64_t, 240> m{};
    for (int32_t r = 0; r < 240; ++r)
      for (int32_t b = 0; b < 64; ++b)
        if (30 * (b / 8) + wheel[b % 8] <= r) m[r] |= uint64_t{1} << b;
    return m;
  }();

  void fill(const uint8_t* composite, uint32_t limit);

  BitRanks ranks_;
};

}  // namespace ntb
