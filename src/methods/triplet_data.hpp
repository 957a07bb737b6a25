// The data that reverse-method runs store for the triplet elaboration.
#pragma once

namespace ntb {

struct TripletData {
  // Filled in by the reverse method.
};

}  // namespace ntb
