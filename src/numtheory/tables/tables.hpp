// The two prime tables every command stands on, their builds, edits and
// binary searches.
//
//   y:  149000 slots, 1-based (y[1..149000], y[0] unused).  A build fills
//       y[1..148977] with the primes 2, 3, 5, ..., 2000597 and leaves
//       y[148978..149000] as they were (0 at program start).
//   yc: 851068 slots, 1-based (yc[1..851068], yc[0] unused).  The walk of
//       the odd numbers 3..kTableExtent - 1 against y stores the ones it
//       does not find there; with y as built these are the 851067 odd
//       composites 9..kTableExtent - 1 and yc[851068] keeps what it held.
//
// kTableExtent is how far the tables reach: every prime and every odd
// composite up to it is in them, so a count up to kTableExtent is a search,
// and the commands count by other means above it.
//
// An edit takes a prime out by writing the marker 2000300 over it and
// sorting the first 148500 slots, so the marker moves to the end.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

namespace ntb {

inline constexpr int32_t kTableExtent = 2000000;
inline constexpr int32_t kPrimesInExtent = 148933;  // the primes up to kTableExtent
// N * kPerExtent is N / kTableExtent, by a multiplication.
inline constexpr double kPerExtent = 1.0 / kTableExtent;
inline constexpr int32_t kYSize = 149000;
inline constexpr int32_t kYFilled = 148977;  // slots a build fills
inline constexpr int32_t kYSorted = 148500;  // slots an edit sorts
inline constexpr int32_t kYcSize = 851068;
inline constexpr int32_t kMarker = 2000300;                 // a prime taken out
inline constexpr int32_t kWalkTop = kTableExtent - 1;       // last odd number the yc walk visits
inline constexpr int32_t kSieveTop = 2000601;               // the last number a build sieves
inline constexpr int32_t kSieveBytes = kSieveTop / 30 + 1;  // 30 numbers a byte

struct Tables {
  // No initializers, so that make_tables need not write 4 MB of zeros over
  // fresh memory; make_unique<Tables>() and static tables start at 0.
  std::array<int32_t, kYSize + 1> y;    // 1-based
  std::array<int32_t, kYcSize + 1> yc;  // 1-based
  int32_t yc_count = 0;                 // values the last walk produced (may pass kYcSize)
  // A stamp of y's content: every build and edit draws a new one from a
  // process-wide counter, and a copy carries it along with the content, so
  // what an engine remembers about one stamp holds for every table that
  // bears it.  y is written only by build_y, take_out and substitute.
  uint64_t version = 0;
  // y holds exactly what a build leaves with its last 23 slots 0, so that
  // findp(x) is the number of primes up to x for x below 2000390.
  bool y_pristine = false;
  // yc holds exactly the odd composites 9..kWalkTop and yc[851068] is 0.
  bool yc_pristine = false;
  void* mapping = nullptr;  // where make_tables mapped them
  // The last build's sieve on the wheel of 30 (numtheory/sieve/wheel_sieve.hpp):
  // bit j of byte i is set when 30 i + kWheel30[j] is not prime.  While y is
  // as built, the walk for yc takes its values from here, and the prime
  // count lookup (numtheory/tables/pi_lookup.hpp) its bits.
  std::array<uint8_t, kSieveBytes> sieve;
};

// Tables for a whole run, in fresh zeroed memory mapped at once, so that
// the builds at start-up do not stop at every page they touch.
struct TablesRelease {
  void operator()(Tables* t) const;
};
using TablesPtr = std::unique_ptr<Tables, TablesRelease>;
TablesPtr make_tables();

// Tables built as at start-up, made once for the whole process: the
// reference that tests and benchmarks copy or read.
const Tables& tables_as_built();

void build_y(Tables& t);
// The walk; the start index comes from no2357, kpos and store3.
void build_yc(Tables& t, int32_t no2357, int32_t kpos, int32_t store3);
// Takes the prime at position p (1..149000) out of y; the caller rebuilds yc.
void take_out(Tables& t, int32_t p);
// Replaces entry i (1..149000) of y by v; no sort, no rebuild.
void substitute(Tables& t, int32_t i, int32_t v);

// The number of entries not above x, by the binary search over all slots;
// x is overwritten with the result, which is also returned.
int32_t findp(int32_t& x, const Tables& t);
int32_t findc(int32_t& x, const Tables& t);

// Value forms of the same searches.
inline int32_t findp_of(int32_t x, const Tables& t) {
  return findp(x, t);
}
inline int32_t findc_of(int32_t x, const Tables& t) {
  return findc(x, t);
}

}  // namespace ntb
