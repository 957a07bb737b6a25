// Placeholder: this command is not built yet.
#include "goldbach/commands.hpp"

namespace ntb {

void mixed1(Session& s, double& N, double& N2) { (void)s, (void)N, (void)N2; }
void mixed(Session& s, double& N, double& N2) { (void)s, (void)N, (void)N2; }
void composite(Session& s, double& N, double& N2) { (void)s, (void)N, (void)N2; }

}  // namespace ntb
