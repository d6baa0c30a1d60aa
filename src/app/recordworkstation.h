#pragma once
// What a workstation records after a successful run, by product line: the persisted
// settings, the line's registrations, the installation time.

void RecordWorkstation();
