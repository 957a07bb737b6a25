// The signal handler of the run.  It tells the three cases apart by two
// flags: g_command_running (a menu entry is running) and g_at_keyboard (a
// keyboard read waits).  Both handled signals are blocked while it runs, so
// a SIGTERM cannot enter the handler again in the middle of a SIGINT's
// emergency flush and write the same records twice.
#include "app/signals.hpp"

#include <unistd.h>

#include <csignal>

#include "io/console.hpp"
#include "io/keyboard_wait.hpp"
#include "numtheory/interrupt.hpp"

namespace ntb {

namespace {

volatile std::sig_atomic_t g_command_running = 0;
SessionLog* volatile g_log = nullptr;

extern "C" void on_signal(int sig) {
  if (sig == SIGINT && g_command_running && !g_at_keyboard) {
    g_interrupt_requested = 1;
    return;
  }
  if (g_log) g_log->emergency_flush();
  restore_terminal();
  ::_exit(128 + sig);
}

}  // namespace

RunSignals::RunSignals(SessionLog& log) {
  g_log = &log;
  struct sigaction sa {};
  sa.sa_handler = on_signal;
  sigemptyset(&sa.sa_mask);
  sigaddset(&sa.sa_mask, SIGINT);
  sigaddset(&sa.sa_mask, SIGTERM);
  // A stop request returns from the handler: reads and writes then go on.
  sa.sa_flags = SA_RESTART;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
}

RunSignals::~RunSignals() {
  g_log = nullptr;
}

CommandScope::CommandScope() {
  g_command_running = 1;
  std::atomic_signal_fence(std::memory_order_seq_cst);
}

CommandScope::~CommandScope() {
  g_command_running = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  g_interrupt_requested = 0;
}

}  // namespace ntb
