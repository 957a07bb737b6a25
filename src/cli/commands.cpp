// The list of the one-shot commands: one line per command, naming the
// function of the command's own file that returns its row, in the order of
// the help text.  A new command is its file, its line here, and its test.
#include "cli/command.hpp"

// X(row) for every command.
#define NTBENCH_EACH_COMMAND(X) \
  X(pi_command)                 \
  X(nth_prime_command)          \
  X(primes_command)             \
  X(gaps_command)               \
  X(twins_command)              \
  X(factor_command)             \
  X(totient_command)            \
  X(divisors_command)           \
  X(divisor_counts_command)     \
  X(goldbach_command)           \
  X(goldbach_verify_command)    \
  X(triplets_command)           \
  X(steps_command)

namespace ntb::cli {

#define NTBENCH_DECLARE(row) const Command& row();
NTBENCH_EACH_COMMAND(NTBENCH_DECLARE)
#undef NTBENCH_DECLARE

const std::vector<const Command*>& commands() {
#define NTBENCH_ROW(row) &row(),
  static const std::vector<const Command*> list = {NTBENCH_EACH_COMMAND(NTBENCH_ROW)};
#undef NTBENCH_ROW
  return list;
}

const Command* find_command(std::string_view name) {
  for (const Command* c : commands())
    if (c->name == name) return c;
  return nullptr;
}

}  // namespace ntb::cli
