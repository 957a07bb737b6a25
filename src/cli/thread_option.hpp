// The --threads N option of the commands whose engines run on several
// threads, and the thread count a run asks its engine for: N when given,
// else 0, which the engines read as every CPU of the affinity mask
// (numtheory/threads.hpp).  The results never depend on it.
#pragma once

#include "cli/command.hpp"

namespace ntb::cli {

// The most threads a command line may ask for.
inline constexpr Whole kThreadsMax = 1024;

inline CommandOption threads_option() {
  return {"--threads",
          "run on N threads (default: every CPU allowed)",
          CommandOption::Kind::kNumber,
          {"N", 1, kThreadsMax}};
}

inline int requested_threads(const Request& r) {
  const std::optional<Whole> n = r.value("--threads");
  return n ? static_cast<int>(*n) : 0;
}

}  // namespace ntb::cli
