// Keyboard reads and Ctrl-C.  The main program's SIGINT handler ends the run
// when the program waits at a keyboard read, and otherwise asks the running
// command to stop.  g_at_keyboard tells it which.  A read sets it, then runs
// the check that the main program installs (it throws when a stop has
// already been asked), then blocks: a Ctrl-C that came before the flag was
// set is caught by the check, one that comes after finds the program at the
// keyboard, and none is left waiting while the read blocks.
#pragma once

#include <atomic>
#include <csignal>

namespace ntb {

// 1 while the program waits at a keyboard read.
inline volatile std::sig_atomic_t g_at_keyboard = 0;

// Run when a wait begins, after g_at_keyboard is set; may throw.  None
// unless the main program installs one.
inline void (*g_keyboard_wait_check)() = nullptr;

// Marks one keyboard read, from before its check to after the read.
class KeyboardWait {
 public:
  KeyboardWait() {
    g_at_keyboard = 1;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (g_keyboard_wait_check == nullptr) return;
    try {
      g_keyboard_wait_check();
    } catch (...) {
      g_at_keyboard = 0;  // no destructor runs for a constructor that throws
      throw;
    }
  }
  ~KeyboardWait() {
    std::atomic_signal_fence(std::memory_order_seq_cst);
    g_at_keyboard = 0;
  }
  KeyboardWait(const KeyboardWait&) = delete;
  KeyboardWait& operator=(const KeyboardWait&) = delete;
};

}  // namespace ntb
