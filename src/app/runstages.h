#pragma once
// Plugs the stages that follow a run into the driver: recording a workstation, handing a
// network or workstation installation its set-up files, and the restart.

void InstallRunStages();

// The workstation's records after a successful run, by product line.
void RecordWorkstation();
