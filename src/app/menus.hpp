// The main program: start-up, the main menu and its five submenus, the
// edits of the main array y and the About screen.
#pragma once

#include "io/console.hpp"
#include "io/io.hpp"

namespace ntb {

struct Tables;       // numtheory/tables.hpp
struct TripletData;  // methods/triplet_data.hpp

// Builds the tables and runs the dialogue until Exit or the end of input.
void run_workbench(Console& console, LogSink& log);

// The same on tables and triplet data the caller holds, for callers that run
// many sessions in one process: the tables must hold exactly the tables as
// built (a copy of tables_as_built()) and the triplet data all 0, as at
// start-up, which then shows its record without building anything.
void run_workbench(Console& console, LogSink& log, Tables& as_built, TripletData& zeroed);

}  // namespace ntb
