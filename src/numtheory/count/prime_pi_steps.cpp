// The walk of prime_pi_steps.hpp: the current block of primes is consumed
// up to each x, so every prime is looked at once.
#include "numtheory/count/prime_pi_steps.hpp"

#include <algorithm>

#include "numtheory/count/prime_pi.hpp"

namespace ntb {

namespace {

uint64_t pi_of(uint64_t x) {
  return static_cast<uint64_t>(prime_pi(static_cast<int64_t>(x)));
}

}  // namespace

PrimePiSteps::PrimePiSteps(uint64_t a, uint64_t b, uint64_t s)
    : x_(a), b_(b), s_(s), walk_(a + 1, s < kFarStep ? b : 0) {}

bool PrimePiSteps::next(uint64_t& x, uint64_t& pi) {
  if (started_) {
    if (x_ > b_ || b_ - x_ < s_) return false;
    x_ += s_;
  } else {
    if (x_ > b_) return false;
    started_ = true;
    count_ = pi_of(x_);
    x = x_;
    pi = count_;
    return true;
  }
  if (s_ >= kFarStep) {
    count_ = pi_of(x_);
  } else {
    for (;;) {
      if (block_.empty()) block_ = walk_.next();
      if (block_.empty()) break;
      const auto end = std::upper_bound(block_.begin(), block_.end(), x_);
      count_ += static_cast<uint64_t>(end - block_.begin());
      block_ = block_.subspan(static_cast<size_t>(end - block_.begin()));
      if (!block_.empty()) break;
    }
  }
  x = x_;
  pi = count_;
  return true;
}

}  // namespace ntb
