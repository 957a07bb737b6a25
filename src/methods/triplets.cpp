// Placeholder: this command is not built yet.
#include "methods/commands.hpp"

namespace ntb {

void triplets(Session& s) { (void)s; }

}  // namespace ntb
