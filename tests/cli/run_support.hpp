// The one-shot commands run in-process: argv and standard input in, the
// status and both output channels out.
#pragma once

#include <string>
#include <vector>

#include "cli/run.hpp"

namespace ntb::cli::test {

struct Result {
  int status;
  std::string out, err;
};

inline Result run(std::vector<std::string> args, std::string in = "") {
  Result r;
  r.status = run_in_memory(args, in, r.out, r.err);
  return r;
}

}  // namespace ntb::cli::test
