#pragma once
// The Win32 adapter's Windows Installer (msi.dll).
#include "sys/installer.h"

namespace sys::win32 {

Installer& Win32Installer();

}  // namespace sys::win32
