// Random edits of y of the kinds a user can make: a prime taken out at any
// position (main-menu entry 6), an entry replaced by a smaller composite,
// which may leave y out of order, or by 0 or 1 (entry 7), and 2, 3, 5, 7
// taken away (inclusion-exclusion entry 3), alone and combined.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "numtheory/tables.hpp"
#include "scripted_console.hpp"

namespace ntb::testing {

struct EditedTable {
  std::unique_ptr<Tables> t;
  std::string what;  // the edits, for failure messages
};

// Edit number `seed` of a sweep: kinds rotate, positions and values are random.
inline EditedTable random_edit(uint32_t seed) {
  std::mt19937 rng(seed);
  EditedTable e{std::make_unique<Tables>(built_tables()), ""};
  Tables& t = *e.t;
  auto position = [&] {
    // Often low (inside the inclusion-exclusion and the square roots), at
    // times anywhere, the unfilled slots and the unsorted tail included.
    switch (rng() % 4) {
      case 0:
        return static_cast<int32_t>(1 + rng() % 200);
      case 1:
        return static_cast<int32_t>(1 + rng() % 5000);
      default:
        return static_cast<int32_t>(1 + rng() % kYSize);
    }
  };
  const int edits = 1 + static_cast<int>(rng() % 3);
  for (int k = 0; k < edits; ++k) {
    const uint32_t kind = (seed + k) % 4;
    if (kind == 0) {
      const int32_t p = position();
      take_out(t, p);
      e.what += " out@" + std::to_string(p);
    } else if (kind == 3) {
      for (int i = 0; i < 4; ++i) take_out(t, 1);
      e.what += " no2357";
    } else {
      const int32_t i = position();
      const int32_t prime = t.y[i] > 4 ? t.y[i] : 10;
      int32_t v;
      switch (rng() % 5) {
        case 0:
          v = static_cast<int32_t>(rng() % 2);
          break;  // 0 or 1
        case 1:
          v = 9 + 2 * static_cast<int32_t>(rng() % 50);
          break;  // small, out of order
        default: {
          // An odd composite just below the prime: order kept or nearly.
          v = prime - 2;
          while (v > 9 && (v % 3 != 0 && v % 5 != 0 && v % 7 != 0)) v -= 2;
        }
      }
      substitute(t, i, v);
      e.what += " y(" + std::to_string(i) + ")=" + std::to_string(v);
    }
  }
  return e;
}

}  // namespace ntb::testing
