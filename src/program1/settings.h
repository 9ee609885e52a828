// The start of a run and its settings: the command-line switch, the flag
// fill, and the run settings, output flags and bounds taken from the
// register table.
#pragma once

#include "program1/command_line.h"

/// The switch -1 allows repeated use of components; given alone, it is
/// echoed first (the argument count and its first character).
void take_switch(const CommandLine& line);

/// Marks slots 0 to 198 as never written ('q'); slot 199 keeps its 0.
void mark_unwritten();

/// Copies the run settings out of the register table and derives the output
/// flags. Returns the mask of the letter commands (N 8, Y 4, P 2, Z 1).
int take_settings();

/// Prints the mask as four bits, the start of the settings line.
void print_mask(int fxyz);

/// The bounds of the sought value, znach -/+ otcl percent, each evaluated in
/// extended precision and rounded once.
void sought_bounds(float* zmin, float* zmax);
