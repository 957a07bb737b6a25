// The commands of the primes submenu.
#pragma once

#include "io/session.hpp"

namespace ntb {

void prime_count_entry(Session& s);  // primes 1: the prime count of one N with its time stamps
void lista(Session& s);              // primes 2: primes, gaps and twins
void decom(Session& s);              // primes 3: prime factors of one number

}  // namespace ntb
