#pragma once
// The uninstall confirmation (resource 117) over the portable model in app/uninstallconfirm.
#include "sys/win32/winapi.h"

// Makes the driver's confirmation stage this dialog, shown modally without owner.
void InstallUninstallConfirmDialog(HINSTANCE instance);
