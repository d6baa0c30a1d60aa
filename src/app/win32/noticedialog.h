#pragma once
// The notice dialogs: one procedure over every notice resource.
#include "sys/win32/winapi.h"

// Makes the driver's notice stage these dialogs: each is shown modally, without owner,
// and its answer (the button's id, as app/notices decides) is returned.
void InstallNoticeDialogs(HINSTANCE instance);
