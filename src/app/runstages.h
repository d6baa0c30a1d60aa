#pragma once
// What a workstation records after a successful run, and the run steps the program plugs
// into the update run.

void InstallRunStages();

// The workstation's records after a successful run, by product line.
void RecordWorkstation();
