// Placeholder: this command is not built yet.
#include "goldbach/commands.hpp"

namespace ntb {

void Goldbach1(Session& s) { (void)s; }

}  // namespace ntb
