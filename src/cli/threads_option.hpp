// The options of the commands that split their work into threads or run
// long: -t/--threads N (1 to 256, by default the CPUs this process may run
// on) and --no-status (no progress line on standard error, progress.hpp).
// A command declares each by one line of its options: threads_option(),
// no_status_option().
#pragma once

#include <algorithm>

#include "cli/command.hpp"
#include "numtheory/threads.hpp"

namespace ntb::cli {

inline constexpr Whole kMostThreads = 256;

inline CommandOption threads_option() {
  return {"--threads",
          "use THREADS threads, 1 to 256 (default: one per CPU)",
          CommandOption::Kind::kNumber,
          {"THREADS", 1, kMostThreads},
          "-t"};
}

inline CommandOption no_status_option() {
  return {"--no-status", "no progress line on standard error"};
}

// The threads asked for by --threads, else the CPUs available.
inline unsigned thread_count(const Request& r) {
  if (const auto t = r.value("--threads")) return static_cast<unsigned>(*t);
  return std::min<unsigned>(default_thread_count(), kMostThreads);
}

}  // namespace ntb::cli
