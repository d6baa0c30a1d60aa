#pragma once
// Getting a pass ready for its run once the settings stand: the product's title and
// code, the analysis switches, the offered choices, the report engine's keys, the
// installation folder's final form and the cluster sizes.

void PrepareRun();

// The folder a bare drive ("D:") stands for: the drive's default product folder, unless
// the drive already holds an installation (a "Lng" folder in its root).
void ApplyBareDriveRule();
