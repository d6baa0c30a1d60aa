#pragma once
// The progress window of a run and the worker thread behind it.
#include "sys/win32/winapi.h"

// Makes the driver's progress stage this window: create it (which starts the worker that
// runs the update), pump messages until it has closed, then wait for the worker.
void InstallProgressWindow(HINSTANCE instance);
