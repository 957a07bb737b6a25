// The run of the program around the workbench: opens the session log,
// installs the handlers that end the run on SIGINT and SIGTERM with the log
// complete up to its last record, and turns what happened into the exit
// status.
#include "app/program.hpp"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "app/menus.hpp"
#include "io/session_log.hpp"

namespace ntb {

namespace {

SessionLog* g_log = nullptr;

extern "C" void end_on_signal(int sig) {
  if (g_log) g_log->emergency_flush();
  restore_terminal();
  ::_exit(128 + sig);
}

}  // namespace

int run_program(Console& console, const char* log_path, bool /*log_named_by_user*/) {
  SessionLog log;
  std::string error;
  if (!log.open(log_path, error)) {
    std::fprintf(stderr, "ntbench: cannot create the session log %s: %s\n", log_path,
                 error.c_str());
    return 1;
  }
  g_log = &log;
  struct sigaction sa {};
  sa.sa_handler = end_on_signal;
  sigemptyset(&sa.sa_mask);
  struct sigaction old_int {
  }, old_term{};
  sigaction(SIGINT, &sa, &old_int);
  sigaction(SIGTERM, &sa, &old_term);

  run_workbench(console, log);
  log.close();

  sigaction(SIGINT, &old_int, nullptr);
  sigaction(SIGTERM, &old_term, nullptr);
  g_log = nullptr;
  return log.failed() ? 1 : 0;
}

}  // namespace ntb
