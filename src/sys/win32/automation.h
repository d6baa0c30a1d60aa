#pragma once
// The Win32 adapter's automation objects (COM: CLSIDFromProgID, a local server's IDispatch).
#include "sys/automation.h"

namespace sys::win32 {

// The one process-wide instance, for the adapter's installer.
Automation& Win32Automation();

}  // namespace sys::win32
