// The commands of the inclusion-exclusion and triplets submenus.
#pragma once

#include "io/session.hpp"

namespace ntb {

void inclusion(Session& s);  // inclusion-exclusion 1
void reverse(Session& s);    // inclusion-exclusion 2, triplets 1..3 (s.tripmode, s.store1..3)
// Triplets 4; true when the user quit a paged listing (back to the main menu).
bool elaborate_triplets(Session& s);
void triplets(Session& s);  // triplets 5: primitive Pythagorean triplets

}  // namespace ntb
