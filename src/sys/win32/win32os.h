#pragma once
// Puts the real Windows behind the seam: one adapter per interface.
#include "sys/win32/winapi.h"

// `instance` is the program's module, whose string table LoadString reads.
void InstallWin32Os(HINSTANCE instance);
