#pragma once
// The Win32 adapter's internet: WinINet and the URL-moniker cache download.
#include "sys/internet.h"

namespace sys::win32 {

// The one process-wide instance, for the adapter's installer.
Internet& Win32Internet();

}  // namespace sys::win32
