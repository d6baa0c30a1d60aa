#pragma once
// The Win32 adapter's run-time lookups (kernel32 and pdh.dll functions found by name).
#include "sys/systeminfo.h"

namespace sys::win32 {

// The one process-wide instance, for the adapter's installer.
SystemInfo& Win32SystemInfo();

}  // namespace sys::win32
