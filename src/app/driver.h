#pragma once
// The start-up driver: the program's entry after WinMain has installed the Win32 adapter
// and initialised COM. Returns the process exit code (always 0).
#include <string>

int RunStartupDriver(const std::string& commandLine);
