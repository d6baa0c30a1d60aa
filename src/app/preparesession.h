#pragma once
// Filling the session record before any window exists: the platform, the machine's
// places, the running program, then the settings from command line, INI and registry.
#include <string_view>

// Detects the platform, resolves the known places, reads the program's path and version
// and calls ReadSessionSettings. Always true: there is no failing path.
bool PrepareSession(std::string_view commandLine);

// Fills the session record from its sources, in the fixed order that decides which
// source wins for each field. A resumed run and an uninstall run read only their options.
void ReadSessionSettings(std::string_view commandLine);

// Chooses `captionText` from the install mode.
void SetModeCaption();
