// ntbench factor [N...]: the prime factors of N with repetition, as
// "N: p p p" (with --exponents "N: p^e q"), for the numbers given or every
// token of standard input (numbers_or_input.hpp), N up to 2^64 - 1; in CSV
// the factors are one field.
#include "cli/numbers_or_input.hpp"
#include "cli/threads_option.hpp"
#include "numtheory/factor/factorize64.hpp"

namespace ntb::cli {

namespace {

// The factors as "2^2 3": each prime once, with its exponent when above 1.
std::string with_exponents(const PrimeFactors64& f) {
  std::string s;
  for (int i = 0; i < f.count;) {
    int j = i;
    while (j < f.count && f.p[j] == f.p[i]) ++j;
    if (!s.empty()) s += ' ';
    s += decimal_string(f.p[i]);
    if (j - i > 1) {
      s += '^';
      s += std::to_string(j - i);
    }
    i = j;
  }
  return s;
}

void write(Output& out, uint64_t n, const PrimeFactors64& f, bool exponents) {
  if (out.csv()) {
    out.field(n);
    if (exponents)
      out.field(with_exponents(f));
    else
      out.list_field(f.p.data(), static_cast<size_t>(f.count));
    out.end_row();
    return;
  }
  out.number(n);
  out.raw(':');
  if (exponents) {
    if (f.count > 0) out.raw(' ');
    out.raw(with_exponents(f));
  } else {
    for (int i = 0; i < f.count; ++i) {
      out.raw(' ');
      out.number(f.p[i]);
    }
  }
  out.raw('\n');
}

// A batch of numbers is factored on the threads, then written in order.
int run(const Request& r, Channels& io) {
  Output& out = io.out;
  const bool exponents = r.flag("--exponents");
  const unsigned threads = thread_count(r);
  std::vector<PrimeFactors64> factors;
  out.header({"n", "factors"});
  return each_number_batch(r, io, 0, [&](const std::vector<uint64_t>& batch) {
    factors.resize(batch.size());
    parallel_for(batch.size(), threads, [&](size_t i) { factors[i] = factorize_u64(batch[i]); });
    for (size_t i = 0; i < batch.size(); ++i) write(out, batch[i], factors[i], exponents);
  });
}

}  // namespace

const Command& factor_command() {
  static const Command row{
      "factor",
      "the prime factors of N",
      "The prime factors of every N given, with repetition, ascending, as\n"
      "'720720: 2 2 2 2 3 3 5 7 11 13'; with --exponents a repeated factor is\n"
      "written once with its power, as '720720: 2^4 3^2 5 7 11 13'.  N may be\n"
      "written as an expression, such as 2^64-1 or 1e18+3.  With no N the\n"
      "numbers are read from standard input as plain decimals, separated by\n"
      "blanks or line ends; a token that is not a whole number in range is named\n"
      "on standard error, the others are still answered, and the status is then\n"
      "1.  In CSV the factors are one field.  The numbers are factored on\n"
      "THREADS threads at a time, by default one for each CPU available.",
      {{{}}, {{Argument{"N", 0, kU64Max}}, true}},
      {{"--exponents", "write a repeated factor p once, as p^e"}, threads_option()},
      "n factors",
      nullptr,
      run,
  };
  return row;
}

}  // namespace ntb::cli
