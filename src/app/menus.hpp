// The main program: start-up, the main menu and its five submenus, the
// edits of the main array y and the About screen.
#pragma once

#include "io/console.hpp"
#include "io/io.hpp"

namespace ntb {

// Builds the tables and runs the dialogue until Exit or the end of input.
void run_workbench(Console& console, LogSink& log);

}  // namespace ntb
