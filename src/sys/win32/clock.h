#pragma once
// The Win32 adapter's clock (kernel32).
#include "sys/clock.h"

namespace sys::win32 {

Clock& Win32Clock();

}  // namespace sys::win32
