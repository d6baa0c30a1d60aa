#pragma once
// The settings check's rules for the two web product lines when the other one is
// installed on this machine: both use a virtual directory on the same web server, so
// the second must not take the first one's.
#include "app/checkmessages.h"

// The virtual directories the web lines fall back to.
constexpr const char* kClassicDefaultVirtualDir = "Halomir";
constexpr const char* kDotNetDefaultVirtualDir = "HalomirNet";

// Applies to FYNDRA while the .NET web line's machine key exists, and to Halomir.NET while
// the classic web line's exists; nothing for other lines.
//
// A build that may change the product line chooses the virtual directory itself:
// - Halomir.NET takes the stored .NET directory ("HalomirNet" when none was stored yet
//   and its own key is absent);
// - FYNDRA takes the stored classic directory, else the name typed, else "Halomir", and
//   refuses (with the hint on /nocheck) only a name equal to the .NET line's stored
//   directory, the one clash the rename is there to avoid. An empty stored classic
//   directory remembers the name chosen.
// `noCheck` is set in every case that goes on.
CheckStep CheckWebVirtualDirectory(DialogControls* dialog);
