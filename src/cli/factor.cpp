// ntbench factor [N...] and totient [N...]: the prime factors of N (as
// "N: p p p") and Euler's function, for the numbers given or, without any,
// for every token of standard input.  A token that is not a whole number in
// range is named on standard error and the others are still answered; the
// status is 1 at the end.
#include <string>

#include "cli/command_table.hpp"
#include "cli/commands.hpp"
#include "cli/parser.hpp"
#include "numtheory/factor/factorize.hpp"

namespace ntb::cli {

namespace {

// The value of a token of standard input, or -1 when it is not a whole
// number from `min` to kWholeMax.
int64_t token_value(const std::string& t, int64_t min) {
  if (t.empty() || t.size() > 10) return -1;
  int64_t v = 0;
  for (const char c : t) {
    if (c < '0' || c > '9') return -1;
    v = v * 10 + (c - '0');
  }
  return v >= min && v <= kWholeMax ? v : -1;
}

// Calls answer(n) for each number of the request, or of standard input.
template <typename Answer>
int each_number(const Request& r, Channels& io, std::string_view command, int64_t min,
                Answer answer) {
  for (const int64_t n : r.numbers) answer(n);
  if (!r.numbers.empty()) return 0;
  int status = 0;
  std::string token;
  while (io.in.next(token)) {
    const int64_t n = token_value(token, min);
    if (n >= 0) {
      answer(n);
      continue;
    }
    io.out.flush();  // the answers before it come first on a shared terminal
    io.error("ntbench " + std::string(command) + ": " + quote_arg(token) +
             " is not a whole number from " + std::to_string(min) + " to " +
             std::to_string(kWholeMax));
    status = 1;
  }
  return status;
}

}  // namespace

int run_factor(const Request& r, Channels& io) {
  Output& out = io.out;
  out.header({"n", "factors"});
  return each_number(r, io, "factor", 0, [&out](int64_t n) {
    const PrimeFactorList f = factorize(static_cast<uint32_t>(n));
    if (out.csv()) {
      out.field(n);
      out.list_field(f.p.data(), static_cast<size_t>(f.count));
      out.end_row();
      return;
    }
    out.number(n);
    out.raw(':');
    for (int i = 0; i < f.count; ++i) {
      out.raw(' ');
      out.number(f.p[i]);
    }
    out.raw('\n');
  });
}

int run_totient(const Request& r, Channels& io) {
  Output& out = io.out;
  out.header({"n", "phi"});
  return each_number(r, io, "totient", 1, [&out](int64_t n) {
    const PrimeFactorList f = factorize(static_cast<uint32_t>(n));
    int64_t phi = n;
    for (int i = 0; i < f.count; ++i)
      if (i == 0 || f.p[i] != f.p[i - 1]) phi = phi / f.p[i] * (f.p[i] - 1);
    out.row(n, phi);
  });
}

}  // namespace ntb::cli
