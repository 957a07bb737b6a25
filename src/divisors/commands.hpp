// The commands of the primes and divisors submenus.
#pragma once

#include "shell/session.hpp"

namespace ntb {

void lista(Session& s);   // primes 2: primes, gaps and twins
void decom(Session& s);   // primes 3: prime factors of one number
void vetto1(Session& s);  // divisors 1: divisor-count listings
void div(Session& s);     // divisors 2: ordered divisors of one number
void Euler1(Session& s);  // divisors 3: Euler function of one number

}  // namespace ntb
