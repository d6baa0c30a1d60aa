#pragma once
// The Win32 adapter's files, folders and volumes (kernel32, version.dll).
#include "sys/files.h"

namespace sys::win32 {

Files& Win32Files();

}  // namespace sys::win32
