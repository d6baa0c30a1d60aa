#pragma once
// The Win32 adapter's shortcut files (the shell's link object, the internet-shortcut object).
#include "sys/shelllinks.h"

namespace sys::win32 {

// The one process-wide instance, for the adapter's installer.
ShellLinks& Win32ShellLinks();

}  // namespace sys::win32
