// Placeholder: this command is not built yet.
#include "divisors/commands.hpp"

namespace ntb {

void div(Session& s) { (void)s; }

}  // namespace ntb
