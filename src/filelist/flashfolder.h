#pragma once
// The Flash player control's folder, for items that go beside it.
#include <string>

// The folder of the registered Flash control's file, or the system folder joined with
// "macromed\flash" when none is found. Asked anew on every call.
std::string LookUpFlashFolder();
