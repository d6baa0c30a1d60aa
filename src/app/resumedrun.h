#pragma once
// The run Windows starts once after a restart that an earlier run asked for: it only
// clears the install-status marker, silently and without a log.

void FinishResumedRun();
