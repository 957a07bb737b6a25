// The one-shot commands, one run_ function each, grouped by family in
// files of their own (pi.cpp, prime_listing.cpp, factor.cpp,
// divisors.cpp).  Each reads its numbers from the Request, computes through
// the engines and writes its rows; the dispatch is in run.cpp.
#pragma once

#include <string>
#include <string_view>

#include "cli/input.hpp"
#include "cli/output.hpp"
#include "cli/request.hpp"

namespace ntb::cli {

// Where a command reads and writes: standard output, standard input (for
// factor and totient without numbers), and standard error.
struct Channels {
  Output& out;
  TokenReader& in;
  std::string* err = nullptr;  // error lines go here when set, else to standard error
  // One line on standard error (the line end is added).
  void error(std::string_view line);
};

// Each returns the exit status: 0, or 1 when a number read from standard
// input was refused.
int run_pi(const Request& r, Channels& io);
int run_primes(const Request& r, Channels& io);
int run_gaps(const Request& r, Channels& io);
int run_twins(const Request& r, Channels& io);
int run_factor(const Request& r, Channels& io);
int run_totient(const Request& r, Channels& io);
int run_divisors(const Request& r, Channels& io);
int run_divisor_counts(const Request& r, Channels& io);  // divisor_counts.cpp
int run_goldbach(const Request& r, Channels& io);        // goldbach.cpp
int run_triplets(const Request& r, Channels& io);        // methods.cpp
int run_steps(const Request& r, Channels& io);           // methods.cpp
// pi A B --step S (pi_steps.cpp) and gaps ... --histogram (gap_histogram.cpp).
int run_pi_steps(const Request& r, Channels& io);
int run_gap_histogram(const Request& r, Channels& io);
// goldbach A B, and the picture of any goldbach table (goldbach_range.cpp).
int run_goldbach_range(const Request& r, Channels& io);

}  // namespace ntb::cli
