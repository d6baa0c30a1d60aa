#pragma once
// Which operating system the machine runs, as one code the rest of the program tests:
// 1 Win32s, 3 Windows 95, 5 Windows 98/Me, 2 early NT, 4 NT 4, 6 Windows 2000, 7 XP,
// 8 Server 2003 / XP x64, 9 the 6.x generation. Newer or unknown systems keep the code
// they had and count as unsupported.
#include <cstdint>

#include "sys/desktop.h"

struct OsClassification {
  int32_t osCode = 0;
  bool unsupported = false;
  bool ntFamily = false;
};

// The classification of `version`; `previousCode` is kept where the system is not known.
OsClassification ClassifyOsVersion(const sys::OsVersion& version, int32_t previousCode);

// Asks the system for its version and fills `osCode`, `osUnsupported` and `isNtFamily`
// of the session (unsupported, code unchanged, when no desktop is installed).
void ClassifyOperatingSystem();

// Codes of the systems the program refuses (Win32s, Windows 95, early NT, NT 4), also
// when /OS: forces one of them.
bool IsUnsupportedOsCode(int32_t osCode);

// An NT 4 system below service pack 5.
bool IsNtServicePackTooOld(const sys::OsVersion& version);
// The same for the running system; false when no desktop can say.
bool IsNtServicePackTooOld();
