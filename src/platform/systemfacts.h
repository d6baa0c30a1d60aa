#pragma once
// Facts of the running system that later steps need.
#include <string>

// The shared Windows folder ("C:\WINDOWS"), also on a terminal server.
std::string GetWindowsFolder();

// This program runs as a 32-bit process on 64-bit Windows; false when the system cannot say.
bool IsWow64();
