#pragma once
// The Win32 adapter's desktop: message boxes, special folders, names, the running
// program and its string table (user32, shell32, advapi32, kernel32).
#include "sys/desktop.h"
#include "sys/win32/winapi.h"

namespace sys::win32 {

// `instance` is the module whose string table LoadString reads (the program itself).
Desktop& Win32Desktop(HINSTANCE instance);

}  // namespace sys::win32
