// How often each gap occurs between consecutive primes of a range: the
// histogram behind `ntbench gaps G1 G2 A B --histogram`.
#pragma once

#include <cstdint>
#include <vector>

namespace ntb {

// counts[g] is the number of pairs of consecutive primes p < q with
// a <= p, q <= b (0 <= a, b <= 4294967295) and q - p = g; the vector ends at
// the largest gap found (empty when the range holds fewer than two primes).
std::vector<uint64_t> prime_gap_counts(uint64_t a, uint64_t b);

}  // namespace ntb
