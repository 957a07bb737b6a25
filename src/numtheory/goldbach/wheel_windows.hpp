// The segmented sieve of Eratosthenes behind the Goldbach pair counts of a
// 64-bit N: windows on the wheel of 30, a byte for 30 numbers with a bit
// for each residue prime to 30 (kWheel30), walked either upwards (window
// byte k is the absolute byte first + k, the numbers 30(first + k) + r) or
// downwards (byte k is the absolute byte first - k), so that the low half
// of the pairs is sieved upwards from 0 and the high half downwards from N
// byte by byte in step.
//
// A window starts as the AND of periodic patterns that hold the numbers
// free of the primes 7..163 (a vector AND per 16 bytes and pattern instead
// of a bit operation per multiple).  Each larger sieving prime p then
// crosses off its multiples p m, m prime to 30, walking m around the wheel:
// a turn of m (30 on) is p bytes and eight multiples at offsets fixed by
// the residues of p and of the first m, crossed off together; the prime
// keeps where it stopped (a byte and m's residue) for the next window of
// the run.  The primes below 32768 go over the window a 32 KiB block at a
// time, so that their many multiples hit the first-level cache.  Primes
// above a bound (only for N beyond about 2.8 * 10^14) are found anew for
// every window by a small sieve of their own and placed by a division, so
// that the memory stays bounded whatever N is: at most some 4 MB for the
// carried primes and 12 MB a thread.
//
// Every window also sieves the byte just past it (the next window's first):
// the high half pairs a low byte with two neighbouring high bytes.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <span>
#include <vector>

#include "numtheory/sieve/wheel_sieve.hpp"

namespace ntb {

// floor(sqrt(n)) for any 64-bit n.
uint64_t isqrt_u64(uint64_t n);

// The largest prime of the patterns; windows restore those they hold.
inline constexpr uint32_t kPatternTop = 163;

// The bit of the residue r (mod 30) in a wheel byte, or -1 when r is not
// prime to 30.
inline constexpr std::array<int8_t, 30> kWheelBit = [] {
  std::array<int8_t, 30> b{};
  b.fill(-1);
  for (int8_t i = 0; i < 8; ++i) b[static_cast<size_t>(kWheel30[i])] = i;
  return b;
}();

// The primes a window is sieved by: those from 167 up to a bound, read by
// every thread.
class WheelSievePrimes {
 public:
  // The primes p with kPatternTop < p <= top (top < 2^31 - 30).
  explicit WheelSievePrimes(uint64_t top);
  std::span<const uint32_t> primes() const { return primes_; }

 private:
  std::vector<uint32_t> primes_;
};

// One run of consecutive windows of `bytes` bytes, one per thread.
// Upwards a sieving prime p crosses off its multiples from p^2 on, so the
// bits are exactly the primes prime to 30 (and 1) while the numbers stay
// below the square of the next prime.  Downwards it crosses off every
// multiple, p itself included: a downward run is for numbers above its
// sieving primes.
class WheelWindows {
 public:
  static constexpr uint32_t kMaxBytes = uint32_t{1} << 22;
  WheelWindows(const WheelSievePrimes& primes, uint32_t bytes);

  // Starts a run at the absolute byte `first`.
  void start(uint64_t first, bool downwards);

  // Sieves the run's next window into out[0 .. count], its first `count`
  // bytes (count <= bytes) and the byte past them, and moves `bytes` on; a
  // window of fewer ends the run.  Downwards, bytes below the absolute byte
  // 0 come out 0.
  void next(uint8_t* out, uint32_t count);

  // The absolute byte of the window next() fills.
  uint64_t first() const { return first_; }

 private:
  void fill_patterns(uint8_t* out, uint32_t from, uint32_t to) const;
  void restore_pattern_primes(uint8_t* out, uint32_t span) const;
  // Sets where the i-th prime goes on from its multiplier m nearest the
  // window's edge and the distance d of p m from the edge.
  void place(size_t i, uint64_t m, uint64_t d);

  const WheelSievePrimes& sieving_;
  uint32_t bytes_;
  bool down_ = false;
  uint64_t first_ = 0;
  std::vector<uint32_t> phase_;  // of each pattern at byte 0 of the window
  size_t small_;                 // the primes below kBlock
  size_t active_ = 0;            // the sieving primes whose square an upward run reached
  std::vector<uint32_t> walk_;   // per active prime: its next byte * 8 + m's residue bit
};

// Crosses off in the window out[0 .. count] of a run at the absolute byte
// `first` the multiples of the prime p as WheelWindows does (upwards from
// p^2), placed by a division: for the primes above those a run carries.
void cross_off(uint8_t* out, uint32_t count, uint64_t first, bool downwards, uint64_t p);

// The primes p with from < p <= to < 2^32 and p > 5, sieved anew at every
// walk: the sieving primes of a large N above those a run carries, found
// with a window of 32 KiB instead of 4 bytes kept for each of them (up to
// 203 million).
class WheelPrimesBetween {
 public:
  WheelPrimesBetween(uint64_t from, uint64_t to);

  // visit(p) for each of the primes, ascending, while it returns true.
  template <class Visit>
  void each(Visit&& visit);

 private:
  static constexpr uint32_t kBytes = uint32_t{1} << 15;
  uint64_t from_, to_;
  WheelSievePrimes sieving_;
  WheelWindows windows_;
  std::vector<uint8_t> window_;
};

template <class Visit>
void WheelPrimesBetween::each(Visit&& visit) {
  if (to_ <= from_) return;
  const uint64_t last = to_ / 30;
  windows_.start(from_ / 30, false);
  for (uint64_t b = from_ / 30; b <= last; b += kBytes) {
    const auto count = static_cast<uint32_t>(std::min<uint64_t>(kBytes, last - b + 1));
    windows_.next(window_.data(), count);
    for (uint32_t k = 0; k < count; ++k)
      for (unsigned z = window_[k]; z != 0; z &= z - 1) {
        const uint64_t p = 30 * (b + k) + static_cast<uint64_t>(kWheel30[std::countr_zero(z)]);
        if (p > from_ && p <= to_ && p > 5 && !visit(p)) return;
      }
  }
}

}  // namespace ntb
