// The state of one run that the main program owns and hands to every
// command: the console and output layer, the prime tables, the shared menu
// variable and flags, and the triplet data that the reverse method fills.
#pragma once

#include <cstdint>

#include "io/io.hpp"

namespace ntb {

struct Tables;       // numtheory/tables.hpp
struct TripletData;  // methods/triplet_data.hpp

struct Session {
  Io& io;
  Tables& t;
  TripletData* trip = nullptr;  // owned by the main program (or a test)

  int32_t choice = 0;    // the number typed at the last menu
  int32_t tripmode = 0;  // 1: called from the triplets submenu / rebuild returns there
  int32_t no2357 = 0;    // 1 once y has been edited by a take-out
  int32_t kpos = 0;      // position last given to main-menu entry 6
  int32_t store1 = 0, store2 = 0, store3 = 0;  // which of a1, a2, a3 reverse fills
};

}  // namespace ntb
