// The three edits of y a user can make, done to a copy of the tables as
// built the way the menus do them, and random sequences of them for the
// sweeps that compare a fast path with the literal procedure: main-menu
// entry 6 (one prime out, at any position), main-menu entry 7 (an entry
// replaced by a smaller number, 0 and 1 included, so y may fall out of
// order) and inclusion-exclusion entry 3 (2, 3, 5 and 7 out).
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "numtheory/tables/tables.hpp"

namespace ntb::testing {

struct EditedTables {
  std::unique_ptr<Tables> t;
  int32_t no2357 = 0;
  std::string what;  // the edits made, for failure messages
};

inline EditedTables copy_as_built() {
  return {std::make_unique<Tables>(tables_as_built()), 0, ""};
}

// Main-menu entry 6: the prime at position p out, yc walked again.
inline void edit_take_out(EditedTables& e, int32_t p) {
  take_out(*e.t, p);
  e.no2357 = 1;
  build_yc(*e.t, 1, p, 0);
  e.what += " take_out(" + std::to_string(p) + ")";
}

// Main-menu entry 7: entry i becomes v; yc stays as it was.
inline void edit_substitute(EditedTables& e, int32_t i, int32_t v) {
  substitute(*e.t, i, v);
  e.what += " substitute(" + std::to_string(i) + "," + std::to_string(v) + ")";
}

// Inclusion-exclusion entry 3: 2, 3, 5 and 7 out, yc walked again.
inline void edit_take_away_2357(EditedTables& e) {
  for (int k = 0; k < 4; ++k) take_out(*e.t, 1);
  e.no2357 = 1;
  build_yc(*e.t, 1, 0, 1);
  e.what += " take_away_2357";
}

// A position for an edit: often anywhere in y, often among the first
// primes (which every method reads), among the primes up to the square root
// of the largest N (the divisors of the counts and listings) or the last ones
// (around 2000000, where the searches and walks of the commands turn).
inline int32_t random_position(std::mt19937& g) {
  switch (std::uniform_int_distribution<int>(0, 4)(g)) {
    case 0:
      return std::uniform_int_distribution<int32_t>(1, 40)(g);
    case 1:
      return std::uniform_int_distribution<int32_t>(148480, kYSize)(g);
    case 2:  // the primes up to the square root of 2147483647
      return std::uniform_int_distribution<int32_t>(1, 5000)(g);
    default:
      return std::uniform_int_distribution<int32_t>(1, kYSize)(g);
  }
}

// A value smaller than the entry it replaces: 0, 1, a small odd composite,
// an odd composite just below it (y stays in order, or nearly), or any
// number below it (even ones too: nothing checks).
inline int32_t random_smaller(int32_t old, std::mt19937& g) {
  const int32_t top = old > 1 ? old - 1 : 0;
  switch (std::uniform_int_distribution<int>(0, 5)(g)) {
    case 5: {
      int32_t v = old - 2;
      while (v > 9 && v % 3 != 0 && v % 5 != 0 && v % 7 != 0) v -= 2;
      return v > 0 ? v : 0;
    }
    case 0:
      return 0;
    case 1:
      return 1;
    case 2: {
      static constexpr int32_t kSmall[] = {9, 15, 21, 25, 27, 33, 35, 39, 45, 49};
      const int32_t v = kSmall[std::uniform_int_distribution<int>(0, 9)(g)];
      return v <= top ? v : top;
    }
    default:
      return std::uniform_int_distribution<int32_t>(0, top)(g);
  }
}

// One to three random edits of the three kinds on a fresh copy.
inline EditedTables random_edits(std::mt19937& g) {
  EditedTables e = copy_as_built();
  const int edits = std::uniform_int_distribution<int>(1, 3)(g);
  for (int k = 0; k < edits; ++k) {
    switch (std::uniform_int_distribution<int>(0, 4)(g)) {
      case 0:
      case 1:
        edit_take_out(e, random_position(g));
        break;
      case 2:
      case 3: {
        const int32_t i = random_position(g);
        edit_substitute(e, i, random_smaller(e.t->y[i], g));
        break;
      }
      default:
        edit_take_away_2357(e);
        break;
    }
  }
  return e;
}

// The same from a seed: sweep k uses edit random_edits(base + k).
inline EditedTables random_edits(uint32_t seed) {
  std::mt19937 g(seed);
  return random_edits(g);
}

}  // namespace ntb::testing
