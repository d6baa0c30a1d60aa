#pragma once
// The Win32 adapter's digests and signatures (the CryptoAPI of advapi32 and crypt32).
#include "sys/hashing.h"

namespace sys::win32 {

// The one process-wide instance, for the adapter's installer.
Hashing& Win32Hashing();

}  // namespace sys::win32
