// The commands of the divisors submenu.
#pragma once

#include "io/session.hpp"

namespace ntb {

void vetto1(Session& s);           // divisors 1: divisor-count listings
void divisors_of_one(Session& s);  // divisors 2 (div): ordered divisors of one number
void Euler1(Session& s);           // divisors 3: Euler function of one number

}  // namespace ntb
