// The numbers of factor and totient: those given on the command line or,
// without any, every token of standard input, read as a plain decimal
// (digits only, leading zeros of any length).  A token that is not a whole
// number in range is named on standard error and the others are still
// answered; the status is then 1, as when standard input cannot be read.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/command.hpp"
#include "cli/number_expression.hpp"
#include "numtheory/decimal_digits.hpp"

namespace ntb::cli {

// The range of factor's numbers, and from 1 of totient's and divisors'.
inline constexpr Whole kU64Max = UINT64_MAX;

// Calls answer(batch) for the numbers of the request, or of standard input,
// with min <= n <= UINT64_MAX, a batch of at most kNumberBatch of them at a
// time in their order (so that a command may share a batch among threads);
// a refused token ends a batch, so that its message comes after the answers
// before it.  The status.
inline constexpr size_t kNumberBatch = 4096;
template <typename AnswerBatch>
int each_number_batch(const Request& r, Channels& io, Whole min, AnswerBatch answer) {
  std::vector<uint64_t> batch;
  const auto pass = [&] {
    if (!batch.empty()) answer(std::as_const(batch));
    batch.clear();
  };
  for (const Whole n : r.numbers) {
    batch.push_back(static_cast<uint64_t>(n));
    if (batch.size() == kNumberBatch) pass();
  }
  if (!r.numbers.empty()) {
    pass();
    return 0;
  }
  int status = 0;
  std::string token;
  while (io.in.next(token)) {
    if (const auto n = parse_plain_decimal(token, kU64Max); n && *n >= min) {
      batch.push_back(static_cast<uint64_t>(*n));
      if (batch.size() == kNumberBatch) pass();
      continue;
    }
    pass();
    io.out.flush();  // the answers before it come first on a shared terminal
    io.error("ntbench " + std::string(r.command->name) + ": " + quote_token(token) +
             " is not a whole number from " + decimal_string(min) + " to " +
             decimal_string(kU64Max));
    status = 1;
  }
  pass();
  if (io.in.error() != 0) {  // a failed read is no end of the input
    io.out.flush();
    io.error("ntbench " + std::string(r.command->name) +
             ": standard input: " + std::strerror(io.in.error()));
    status = 1;
  }
  return status;
}

// Calls answer(n) for each number, one at a time; the status.
template <typename Answer>
int each_number(const Request& r, Channels& io, Whole min, Answer answer) {
  return each_number_batch(r, io, min, [&answer](const std::vector<uint64_t>& batch) {
    for (const uint64_t n : batch) answer(n);
  });
}

}  // namespace ntb::cli
