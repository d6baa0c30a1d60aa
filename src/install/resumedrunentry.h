#pragma once
// The RunOnce entry that resumes a run after the restart it asked for.

constexpr const char* kRunOnceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* kResumedRunValue = "Plandrix";

// Removes a pending resumed run before a newer run touches the files.
void RemoveResumedRun();
