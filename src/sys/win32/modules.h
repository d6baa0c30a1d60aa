#pragma once
// The Win32 adapter's libraries and version-resource strings (kernel32, version.dll).
#include "sys/modules.h"

namespace sys::win32 {

Modules& Win32Modules();

}  // namespace sys::win32
