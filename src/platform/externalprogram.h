#pragma once
// Other programs that a step starts and waits for while the progress window shows it busy.
#include <cstdint>
#include <string>

#include "sys/processes.h"

// Starts `commandLine` and waits for it (without limit unless told) and closes it: 0, or
// the error that kept it from starting.
sys::Error StartAndWait(const std::string& commandLine, const sys::StartOptions& options,
                        uint32_t milliseconds = sys::kWaitForever);

// Options for a program started without a console window.
sys::StartOptions WithoutConsole(bool inheritHandles = false);

// The progress window during a step of its own: the title and the other two lines, the
// totals hidden and the whole window cleared on every paint.
void ShowBusyStep(const std::string& title, const std::string& item, const std::string& detail);
// The step is over: the title back (blank unless told) and the busy mark cleared.
void EndBusyStep(const std::string& title = " ");
