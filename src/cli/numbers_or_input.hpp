// The numbers of factor and totient: those given on the command line or,
// without any, every token of standard input, read as a plain decimal
// (digits only, leading zeros of any length).  A token that is not a whole
// number in range is named on standard error and the others are still
// answered; the status is then 1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "cli/command.hpp"
#include "cli/number_expression.hpp"
#include "numtheory/decimal_digits.hpp"

namespace ntb::cli {

// The range of factor's numbers, and from 1 of totient's and divisors'.
inline constexpr Whole kU64Max = UINT64_MAX;

// Calls answer(n) for each number of the request, or of standard input, with
// min <= n <= UINT64_MAX; the status.
template <typename Answer>
int each_number(const Request& r, Channels& io, Whole min, Answer answer) {
  for (const Whole n : r.numbers) answer(static_cast<uint64_t>(n));
  if (!r.numbers.empty()) return 0;
  int status = 0;
  std::string token;
  while (io.in.next(token)) {
    if (const auto n = parse_plain_decimal(token, kU64Max); n && *n >= min) {
      answer(static_cast<uint64_t>(*n));
      continue;
    }
    io.out.flush();  // the answers before it come first on a shared terminal
    io.error("ntbench " + std::string(r.command->name) + ": " + quote_token(token) +
             " is not a whole number from " + decimal_string(min) + " to " +
             decimal_string(kU64Max));
    status = 1;
  }
  return status;
}

}  // namespace ntb::cli
