// What the command line asks for, parsed once: the command, its numbers and
// its flags.  The workbench (no command) keeps its --log file here too.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ntb::cli {

enum class Command {
  kWorkbench,  // no command: the interactive workbench
  kHelp,       // help text on standard output, status 0 (`topic` names a command or is empty)
  kVersion,    // the name and version on standard output, status 0
  kError,      // `error` on standard error, status 2, nothing else touched
  kPi,
  kPrimes,
  kGaps,
  kTwins,
  kFactor,
  kTotient,
  kDivisors,
  kDivisorCounts,
  kGoldbach,
  kTriplets,
  kSteps,
};

struct Request {
  Command command = Command::kWorkbench;
  // The positional numbers in the order given (an argument that is one of a
  // few words is given as the word's 0-based position in its list).
  std::vector<int64_t> numbers;
  bool csv = false;
  bool count = false;           // primes --count
  bool summary = false;         // divisors --summary
  std::optional<int64_t> tau;   // divisor-counts --tau K
  bool list = false;            // goldbach --list
  std::optional<int64_t> step;  // pi --step S: pi(x) at x = A, A + S, ..., B
  bool histogram = false;       // gaps --histogram: how many pairs have each gap
  bool all = false;             // goldbach --all: the comet's mixed and composite series too
  std::string plot;             // --plot FILE: the table drawn into FILE (.svg or .png)
  std::string topic;            // kHelp: the command asked about, empty for all
  std::string error;            // kError: one line, without its line end
  std::string log_path = "session7.dat";
  bool log_named_by_user = false;
};

}  // namespace ntb::cli
