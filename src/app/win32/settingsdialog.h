#pragma once
// The modal settings dialog (resource 101) over the portable model in app/settingsdialog.
#include "sys/win32/winapi.h"

// Makes the driver's dialog stage this dialog: true only when OK passed the settings check.
void InstallSettingsDialog(HINSTANCE instance);
