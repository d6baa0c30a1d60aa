#pragma once
// The Win32 adapter's INI files (the system's private-profile functions).
#include "sys/profiles.h"

namespace sys::win32 {

Profiles& Win32Profiles();

}  // namespace sys::win32
