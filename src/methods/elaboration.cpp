// Placeholder: this command is not built yet.
#include "methods/commands.hpp"

namespace ntb {

bool elaborate_triplets(Session& s) {
  (void)s;
  return false;
}

}  // namespace ntb
