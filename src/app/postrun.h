#pragma once
// What the driver does once the settings loop has ended: record the installation, hand
// it its files, tell the user, and offer the restart a run needs.

// Every post-run step up to and including closing the log (the restart follows).
void FinishAfterLoop();

// The restart that files in use call for, after the log is closed.
void RestartIfNeeded();
