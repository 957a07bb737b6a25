// The numbers of factor and totient: those given on the command line or,
// without any, every token of standard input.  A token that is not a whole
// number in range is named on standard error and the others are still
// answered; the status is then 1, as when standard input cannot be read.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "cli/command.hpp"
#include "cli/parser.hpp"
#include "numtheory/decimal_digits.hpp"

namespace ntb::cli {

// Calls answer(n) for each number of the request, or of standard input, with
// min <= n <= kWholeMax; the status.
template <typename Answer>
int each_number(const Request& r, Channels& io, Whole min, Answer answer) {
  for (const Whole n : r.numbers) answer(static_cast<int64_t>(n));
  if (!r.numbers.empty()) return 0;
  int status = 0;
  std::string token;
  while (io.in.next(token)) {
    // At most ten digits: the longest number up to kWholeMax.
    if (const auto n = read_whole(token, 10); n && *n >= min && *n <= kWholeMax) {
      answer(static_cast<int64_t>(*n));
      continue;
    }
    io.out.flush();  // the answers before it come first on a shared terminal
    io.error("ntbench " + std::string(r.command->name) + ": " + quote_arg(token) +
             " is not a whole number from " + decimal_string(min) + " to " +
             decimal_string(kWholeMax));
    status = 1;
  }
  if (io.in.error() != 0) {  // a failed read is no end of the input
    io.out.flush();
    io.error("ntbench " + std::string(r.command->name) +
             ": standard input: " + std::strerror(io.in.error()));
    status = 1;
  }
  return status;
}

}  // namespace ntb::cli
