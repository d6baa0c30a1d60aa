#pragma once
// What a successful run leaves for the next one: the user's choices, the installation
// time, and the language new users start with.

// Writes the per-user settings after a successful workstation run.
void SavePersistedSettings();
// "InstallationTime" in the line's machine key, as "DD-MM-YYYY hh:mm:ss".
void WriteInstallationTime();
// The default user's language, set once and never overwritten.
void SetDefaultUserLanguage();
