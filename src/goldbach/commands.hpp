// The commands of the Goldbach submenu.
#pragma once

#include "io/session.hpp"

namespace ntb {

void Goldbach1(Session& s);  // 1: pairs of one even number
void Goldbach2(Session& s);  // 2: even numbers with K prime pairs
void Goldbach3(Session& s);  // 3: ... with K composite pairs
void Goldbach4(Session& s);  // 4: ... with K mixed pairs
void gold(Session& s);       // 5: prime-pair totals, divisors 6 and 8
void gold1(Session& s);      // 6: prime-pair totals, divisors 3 and 4
// 7, 8, 9: the main program reads N and passes N and N - 2.
void mixed1(Session& s, double& N, double& N2);
void mixed(Session& s, double& N, double& N2);
void composite(Session& s, double& N, double& N2);

}  // namespace ntb
