// The nearest word by the optimal string alignment distance: the dynamic
// programme of Levenshtein's distance over three rows, the third for the
// swap of two neighbouring characters.
#include "cli/nearest_word.hpp"

#include <algorithm>

namespace ntb::cli {

size_t edit_distance(std::string_view a, std::string_view b) {
  // before2, before, now: the rows of a's prefixes of length i-2, i-1, i.
  std::vector<size_t> before2(b.size() + 1), before(b.size() + 1), now(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) before[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    now[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      now[j] = std::min({before[j] + 1, now[j - 1] + 1, before[j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        now[j] = std::min(now[j], before2[j - 2] + 1);
    }
    before2.swap(before);
    before.swap(now);
  }
  return before[b.size()];
}

std::string nearest_word(std::string_view word, const std::vector<std::string_view>& candidates) {
  const size_t letters = word.size() - std::min(word.find_first_not_of('-'), word.size());
  size_t best = 3;  // more than the two edits allowed
  std::string_view nearest;
  bool tied = false;
  for (const std::string_view c : candidates) {
    const size_t d = edit_distance(word, c);
    if (d < best) {
      best = d;
      nearest = c;
      tied = false;
    } else if (d == best) {
      tied = true;
    }
  }
  if (tied || nearest.empty() || 2 * best >= letters) return "";
  return std::string(nearest);
}

}  // namespace ntb::cli
