// libFuzzer target: the one-shot commands on arbitrary argument vectors and
// standard input, run in-process as the program runs them.  The bytes up to
// the first NUL are the arguments, one per '\n' (empty ones included); the
// bytes after it are standard input (factor and totient read it).
//
// Bounds on the work of one execution, so that each stays well under a
// second under the sanitizers: a listing whose range is wider than kSpan
// (without --count), a Goldbach range or pi --step above kSpan, or a command
// line holding more than kLarge numbers above kSmall, is parsed but not run;
// so is --plot, which would start gnuplot and write files.
//
// Besides the sanitizers, the target checks the promises of the command
// line: the status is 0, 1 or 2; a usage error (2) writes nothing on
// standard output and exactly one line on standard error; a success (0)
// writes nothing on standard error; text rows never hold a CR, and CSV rows
// all end with CR LF.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.hpp"
#include "cli/parser.hpp"
#include "cli/run.hpp"

namespace {

constexpr ntb::cli::Whole kSpan = 2000000;
constexpr ntb::cli::Whole kSmall = 10000000;
constexpr int kLarge = 3;

ntb::cli::Request parse(const std::vector<std::string>& args) {
  std::vector<const char*> argv{"ntbench"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  return ntb::cli::parse_command_line(static_cast<int>(argv.size()), argv.data());
}

bool too_heavy(const ntb::cli::Request& r) {
  if (r.outcome != ntb::cli::Outcome::kCommand) return false;
  const std::vector<ntb::cli::Whole>& n = r.numbers;
  if (!r.text("--plot").empty()) return true;
  const std::string_view name = r.command->name;
  // Factors, Euler's function and divisors stay fast to 2^64; every other
  // command's cost grows with its numbers (pi, the n-th prime, counts over
  // a range, Goldbach's sieve of N), so none of them may pass kSmall.
  const bool by_factors = name == "factor" || name == "totient" || name == "divisors";
  int large = 0;
  for (const ntb::cli::Whole v : n) {
    if (!by_factors && v > kSmall) return true;
    large += v > kSmall;
  }
  if (name == "goldbach" && n.size() == 2 && n[1] > kSpan)  // the range's transform grows with B
    return true;
  if (name == "pi" && r.value("--step") && n.size() == 2 && n[1] - n[0] > kSpan)
    return true;  // the steps walk A..B
  if (((name == "primes" && !r.flag("--count")) || name == "gaps" || name == "twins") &&
      n.size() >= 2 && n[n.size() - 1] - n[n.size() - 2] > kSpan)
    return true;
  // The sieve of --tau walks 1..N, the vector counts fast.
  if (name == "divisor-counts" && n[0] > (r.value("--tau") ? kSpan : kSmall)) return true;
  if (name == "steps" && n[1] > kSpan) return true;  // a term a row: the rows grow with N
  return large > kLarge;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const size_t nul = bytes.find('\0');
  const std::string_view arg_bytes = bytes.substr(0, nul);
  const std::string_view in = nul == std::string_view::npos ? "" : bytes.substr(nul + 1);
  std::vector<std::string> args;
  for (size_t start = 0;;) {
    const size_t end = arg_bytes.find('\n', start);
    args.emplace_back(arg_bytes.substr(start, end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  const ntb::cli::Request r = parse(args);
  if (too_heavy(r)) return 0;
  std::string out, err;
  const int status = ntb::cli::run_in_memory(args, in, out, err);
  if (status == -1) return 0;  // no command: the workbench, fuzzed by the other target
  if (status != 0 && status != 1 && status != 2) std::abort();
  if (status == 2 && (!out.empty() || err.empty() || err.find('\n') != err.size() - 1))
    std::abort();
  if (status == 0 && !err.empty()) std::abort();
  using ntb::cli::Outcome;
  if (status != 2 && r.outcome != Outcome::kHelp && r.outcome != Outcome::kVersion) {
    if (!r.csv && out.find('\r') != std::string::npos) std::abort();
    if (r.csv && (out.size() < 2 || out.compare(out.size() - 2, 2, "\r\n") != 0)) std::abort();
  }
  return 0;
}
