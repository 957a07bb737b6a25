// The handler of the stop signals while a picture is drawn: see
// plot_signals.hpp.
#include "cli/plot_signals.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace ntb::cli {

namespace {

constexpr int kStopSignals[3] = {SIGINT, SIGTERM, SIGHUP};

static_assert(sizeof(pid_t) <= sizeof(std::sig_atomic_t), "a process id fits a sig_atomic_t");
volatile std::sig_atomic_t g_child = 0;
const char* volatile g_file = nullptr;

sigset_t stop_set() {
  sigset_t set;
  sigemptyset(&set);
  for (const int sig : kStopSignals) sigaddset(&set, sig);
  return set;
}

extern "C" void on_stop_signal(int sig) {
  const pid_t child = g_child;
  if (child > 0) {
    ::kill(child, SIGKILL);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  const char* file = g_file;
  if (file != nullptr) ::unlink(file);
  ::_exit(128 + sig);
}

}  // namespace

PlotSignals::PlotSignals() {
  struct sigaction sa {};
  sa.sa_handler = on_stop_signal;
  // The other two are held while the handler cleans: it runs once.
  sa.sa_mask = stop_set();
  for (int i = 0; i < 3; ++i) {
    if (sigaction(kStopSignals[i], nullptr, &old_[i]) != 0 || old_[i].sa_handler == SIG_IGN)
      continue;
    installed_[i] = sigaction(kStopSignals[i], &sa, nullptr) == 0;
  }
}

PlotSignals::~PlotSignals() {
  {
    const SignalHold hold;
    g_child = 0;
    g_file = nullptr;
  }
  for (int i = 0; i < 3; ++i)
    if (installed_[i]) sigaction(kStopSignals[i], &old_[i], nullptr);
}

void PlotSignals::watch_child(pid_t pid) {
  g_child = pid;
}

void PlotSignals::watch_file(const char* path) {
  g_file = path;
}

SignalHold::SignalHold() {
  const sigset_t set = stop_set();
  pthread_sigmask(SIG_BLOCK, &set, &old_);
}

SignalHold::~SignalHold() {
  pthread_sigmask(SIG_SETMASK, &old_, nullptr);
}

}  // namespace ntb::cli
