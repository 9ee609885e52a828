// Building the pair table from the component list.
#pragma once

/// Fills Mb with every pair of the components in slots Ns to N: series
/// (tip 1) or parallel (tip 2), all of them (f_proc_otcl nonzero) or those
/// within [*zmin, *zmax]. Prints the count line. Returns the index of the
/// last kept record, -1 when none.
int raschet(int Ns, int N, int tip, const float* zmin, const float* zmax, int f_proc_otcl);
