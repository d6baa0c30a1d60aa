#pragma once
// The settings check's machine steps for an installation on this workstation: the open
// spreadsheet, the prerequisite probes, the refusals of the system, the browser setting
// and the frameworks. Each answers nothing when the check goes on.
#include "app/checkmessages.h"

// The spreadsheet must be closed first (the dialog stays open), then the prerequisites
// are probed and the machine refusals run.
CheckStep CheckMachine(DialogControls* dialog);

// The browser setting, the .NET web line's framework and script maps, the registry space.
CheckStep CheckBrowserAndFrameworks(DialogControls* dialog);

// .NET Framework 3.5 SP1, which every line needs.
CheckStep CheckFramework35(DialogControls* dialog);
