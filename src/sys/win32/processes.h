#pragma once
// The Win32 adapter's processes: start, wait, exit codes, the shell, the process
// snapshot and top-level windows (kernel32, shell32, user32).
#include "sys/processes.h"

namespace sys::win32 {

Processes& Win32Processes();

}  // namespace sys::win32
