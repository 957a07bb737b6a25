// Placeholder: this command is not built yet.
#include "divisors/commands.hpp"

namespace ntb {

void lista(Session& s) { (void)s; }

}  // namespace ntb
