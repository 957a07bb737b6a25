// The dispatch of the one-shot commands: one switch over the Request's
// command, and the one place where output failures end the run.
#include "cli/run.hpp"

#include <csignal>
#include <cstdio>
#include <cstring>

#include "cli/commands.hpp"
#include "cli/help.hpp"
#include "cli/parser.hpp"
#include "numtheory/standard_descriptors.hpp"

namespace ntb::cli {

void Channels::error(std::string_view line) {
  if (err != nullptr) {
    err->append(line);
    err->push_back('\n');
    return;
  }
  std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

namespace {

int dispatch(const Request& r, Channels& io) {
  switch (r.command) {
    case Command::kHelp:
      io.out.raw(help_text(r.topic));
      return 0;
    case Command::kVersion:
      io.out.raw(version_text());
      return 0;
    case Command::kError:
      io.error(r.error);
      return 2;
    case Command::kWorkbench:
      return -1;
    case Command::kPi:
      return run_pi(r, io);
    case Command::kPrimes:
      return run_primes(r, io);
    case Command::kGaps:
      return run_gaps(r, io);
    case Command::kTwins:
      return run_twins(r, io);
    case Command::kFactor:
      return run_factor(r, io);
    case Command::kTotient:
      return run_totient(r, io);
    case Command::kDivisors:
      return run_divisors(r, io);
    case Command::kDivisorCounts:
      return run_divisor_counts(r, io);
    case Command::kGoldbach:
      return run_goldbach(r, io);
    case Command::kTriplets:
      return run_triplets(r, io);
    case Command::kSteps:
      return run_steps(r, io);
  }
  return -1;
}

// Runs the command and writes what is left; a reader that went away ends
// the run quietly, any other write failure with a message and status 1.
int run_with(const Request& r, Channels& io) {
  try {
    const int status = dispatch(r, io);
    io.out.flush();
    return status;
  } catch (const OutputClosed&) {
    return 141;  // what the shell shows for a process ended by SIGPIPE
  } catch (const OutputError& e) {
    io.error(std::string("ntbench: standard output: ") + std::strerror(e.error_number));
    return 1;
  }
}

}  // namespace

int run_process(const Request& r) {
  // A closed standard descriptor would be taken by the next file opened (a
  // picture's), as it is for the workbench: /dev/null fills it first.
  const std::string closed = open_standard_descriptors();
  if (!closed.empty()) {
    std::fprintf(stderr, "ntbench: %s\n", closed.c_str());
    return 1;
  }
  // A closed pipe ends the process at once, as it ends the other tools of a
  // pipeline; should SIGPIPE stay blocked, the EPIPE check ends it quietly.
  std::signal(SIGPIPE, SIG_DFL);
  const Format format = r.csv ? Format::kCsv : Format::kText;
  Output out(format, 1);
  TokenReader in(0);
  Channels io{out, in};
  return run_with(r, io);
}

int run_in_memory(const std::vector<std::string>& args, std::string_view in, std::string& out,
                  std::string& err) {
  std::vector<const char*> argv{"ntbench"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  const Request r = parse_command_line(static_cast<int>(argv.size()), argv.data());
  if (r.command == Command::kWorkbench) return -1;
  Output output(r.csv ? Format::kCsv : Format::kText, -1, &out);
  TokenReader reader(-1, in);
  Channels io{output, reader, &err};
  return run_with(r, io);
}

}  // namespace ntb::cli
