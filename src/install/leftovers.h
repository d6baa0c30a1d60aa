#pragma once
// The work files ("_sy*.tmp") that a run stopped half-way (killed, or the machine went
// down) could not remove: transfers in the temporary folder and new files written beside
// their targets. The next run of the installation removes them before it works in a
// folder; a file that the system is to move at the restart stays.
#include <string>

// Starts a run's sweep when the previous run of this installation did not finish, and
// then clears the temporary folder at once; otherwise nothing is swept in this run.
void BeginLeftoverSweep(bool previousRunUnfinished);

// Removes the leftovers in `folder`, once per run, when the sweep is on.
void SweepLeftoversIn(const std::string& folder);
