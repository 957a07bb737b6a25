// ntbench: the main program.  Opens the session log "session7.dat" in the
// current directory, runs the workbench on the terminal, and ends with
// status 0 (1 when the log could not be created or a write to it failed;
// 130 or 143 when interrupted or terminated).
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>

#include "shell/app_menus.hpp"
#include "shell/console.hpp"
#include "shell/session_log.hpp"

namespace {

ntb::SessionLog* g_log = nullptr;

extern "C" void on_signal(int sig) {
  if (g_log) g_log->emergency_flush();
  ::_exit(128 + sig);
}

}  // namespace

int main() {
  static const char kLogName[20] = "session7.dat";
  static ntb::SessionLog log;
  std::string error;
  if (!log.open(kLogName, error)) {
    std::fprintf(stderr, "ntbench: cannot create the session log %s: %s\n", kLogName,
                 error.c_str());
    return 1;
  }
  g_log = &log;
  struct sigaction sa {};
  sa.sa_handler = on_signal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);

  ntb::TerminalConsole console;
  ntb::run_workbench(console, log);
  log.close();
  return log.failed() ? 1 : 0;
}
