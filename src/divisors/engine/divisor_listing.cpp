// The listing pass walks the same prefixes as the counting pass.  A prefix P
// (last prime p = y(t)) gives the integers P*q, q = y(t+1) .. y(c) with
// c = pi(N div P), when 2 tau(P) = d, and the integer P*p when
// tau(P / p^e) (e + 2) = d.  The prime count is only needed for the first
// kind, so the pass pays for trova1 only where it lists.
//
// sigma and phi come from the prefix's prime powers, with no factorization:
//   sigma(P*q) = sigma(P) (q + 1),   sigma(P*p) = sigma(P / p^e) (1 + p + ... + p^(e+1)),
//   phi(n) = (n div r) * prod (prime - 1), r the product of n's distinct primes.
#include "divisors/engine/divisor_listing.hpp"

#include "divisors/engine/quotient_pi.hpp"

namespace ntb {

namespace {

// 1 + p + ... + p^e (below 2^53 for every p^e up to 2^31 * p).
inline int64_t geometric(int64_t p, int32_t e) {
  int64_t sum = 1, pw = 1;
  for (int32_t i = 1; i <= e; ++i) {
    pw *= p;
    sum += pw;
  }
  return sum;
}

class Lister {
 public:
  Lister(int32_t d, const Tables& t, int32_t limit, RowSink& sink)
      : d_(d), t_(t), pi_(t), limit_(limit), sink_(sink) {}

  bool visit(const PrefixChain& ch, int L) {
    const PrefixLevel& lv = ch.lv[L];
    if (tau_next_prime(ch, L) == d_) {
      const int32_t c = pi_(lv.Q);
      // The primes above p up to N/P; none when c - t + 1 <= 1.  The index
      // stays inside y whatever the table holds.  An entry that an edit
      // made 0 or 1, or larger than N/P, is passed over: the entries after
      // it are still listed.
      for (int32_t j = lv.t + 1; j <= c && j <= kYSize; ++j) {
        const int32_t q = t_.y[j];
        if (q < 2 || q > lv.Q) continue;
        if (!emit(ch, L, q)) return false;
      }
    }
    if (tau_last_prime(ch, L) == d_) return emit(ch, L, 0);
    return true;
  }

  ListingResult result;

 private:
  // Lists P*q (q > 0) or P*p (q == 0).
  bool emit(const PrefixChain& ch, int L, int32_t q) {
    ++result.k;
    if (result.k > limit_) {
      result.cut = true;
      return false;
    }
    row_.k = result.k;
    row_.L = L;
    row_.q = q;
    int64_t sigma = 1, phi = 1;
    for (int i = 1; i <= L; ++i) {
      const PrefixLevel& lv = ch.lv[i];
      int32_t e = lv.e;
      if (i == L && q == 0) ++e;
      row_.f[i] = lv.p;
      row_.e[i] = e;
      sigma *= geometric(lv.p, e);
      phi *= lv.p - 1;
      for (int32_t j = 1; j < e; ++j) phi *= lv.p;
    }
    int64_t n = ch.lv[L].P;
    if (q > 0) {
      n *= q;
      sigma *= int64_t{q} + 1;
      phi *= q - 1;
    } else {
      n *= ch.lv[L].p;
    }
    row_.n = static_cast<int32_t>(n);  // n <= N: q <= N/P, and p <= N/P
    row_.sigma = static_cast<double>(sigma);
    row_.phi = static_cast<int32_t>(phi);
    if (!sink_.row(row_)) {
      result.quit = true;
      return false;
    }
    return true;
  }

  int64_t d_;
  const Tables& t_;
  QuotientPi pi_;
  int32_t limit_;
  RowSink& sink_;
  ListedRow row_;
};

}  // namespace

ListingResult list_divisor_class(int32_t N, int32_t d, const Tables& t, int32_t limit,
                                 RowSink& sink) {
  static PrefixChain chain;
  Lister lister(d, t, limit, sink);
  for_each_prefix(N, t, chain, [&](const PrefixChain& ch, int L) { return lister.visit(ch, L); });
  return lister.result;
}

}  // namespace ntb
