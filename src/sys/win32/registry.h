#pragma once
// The Win32 adapter's registry (advapi32).
#include "sys/registry.h"

namespace sys::win32 {

Registry& Win32Registry();

}  // namespace sys::win32
