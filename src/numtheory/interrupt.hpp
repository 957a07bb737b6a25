// Ctrl-C while a command computes stops that command, not the session: the
// signal handler of the main program sets a flag, and the long loops of the
// engines and commands (per row, per candidate, per term) poll it with
// interruption_point(), which throws Interrupted for the menu to catch.
// Polling is one load of a flag that is almost never set; a loop polls only
// where its state is whole, so that an unwound command leaves no half-made
// table behind.
#pragma once

#include <csignal>

namespace ntb {

// Set by the signal handler while a menu entry runs outside a keyboard read;
// cleared when the entry ends, whether it ran out or unwound.
inline volatile std::sig_atomic_t g_interrupt_requested = 0;

struct Interrupted {};

inline void interruption_point() {
  if (g_interrupt_requested) [[unlikely]]
    throw Interrupted{};
}

}  // namespace ntb
