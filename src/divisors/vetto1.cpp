// Placeholder: this command is not built yet.
#include "divisors/commands.hpp"

namespace ntb {

void vetto1(Session& s) { (void)s; }

}  // namespace ntb
