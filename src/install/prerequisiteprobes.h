#pragma once
// Whether the runtime packages that some product lines need are already on the machine.
#include <string_view>

#include "sys/files.h"

// "1.2.3.4" as four 16-bit parts; a part that cannot be read, and every part after it, is 0.
sys::FileVersion ParseFourPartVersion(std::string_view text);

// The installed data-access components ("FullInstallVer") are at least the version the
// line needs: 2.70.9001.0 for DORVAL5, 2.60.6526.3 for the others. Absent or empty: false.
bool IsMdacCurrent(std::string_view productLine);

// The report runtime's shared key exists.
bool IsBusinessObjectsPresent();

// Sets the prerequisite flags the analysis reads from the two probes above.
void ProbePrerequisites(std::string_view productLine);
