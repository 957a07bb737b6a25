// ntbench factor [N...]: the prime factors of N with repetition, as
// "N: p p p", for the numbers given or every token of standard input
// (numbers_or_input.hpp); in CSV the factors are one field.
#include "cli/numbers_or_input.hpp"
#include "numtheory/factor/factorize.hpp"

namespace ntb::cli {

namespace {

int run(const Request& r, Channels& io) {
  Output& out = io.out;
  out.header({"n", "factors"});
  return each_number(r, io, 0, [&out](int64_t n) {
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

}  // namespace

const Command& factor_command() {
  static const Command row{
      "factor",
      "the prime factors of N",
      "The prime factors of every N given, with repetition, ascending, as\n"
      "'720720: 2 2 2 2 3 3 5 7 11 13'.  With no N the numbers are read from\n"
      "standard input, separated by blanks or line ends; a token that is not a\n"
      "whole number in range is named on standard error, the others are still\n"
      "answered, and the status is then 1.  In CSV the factors are one field.",
      {{{}}, {{Argument{"N"}}, true}},
      {},
      "n factors",
      nullptr,
      run,
  };
  return row;
}

}  // namespace ntb::cli
