// Primes-submenu entry 1: the prime count of one N with its time stamps.
#pragma once

#include "shell/session.hpp"

namespace ntb {

void prime_count_entry(Session& s);

}  // namespace ntb
