// The word of a list nearest to a mistyped one, for the "did you mean"
// that ends a usage error naming an unknown command or option.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ntb::cli {

// The edit distance of a and b counting insertions, deletions,
// substitutions and swaps of two neighbouring characters (the optimal
// string alignment form of Damerau-Levenshtein).
size_t edit_distance(std::string_view a, std::string_view b);

// The candidate nearest to `word` when one is clearly nearest: at most two
// edits away, fewer edits than half the word's length (leading dashes not
// counted), and no other candidate as near; else empty.
std::string nearest_word(std::string_view word, const std::vector<std::string_view>& candidates);

}  // namespace ntb::cli
