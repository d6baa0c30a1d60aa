#pragma once
// Taking back what the installation registered: COM libraries through their
// "DllUnregisterServer", programs with "/UnregServer". Failures are not reported: what
// cannot be unregistered is removed anyway.
#include <string>

// The folder that holds the line's programs ("bin", "shared" for DORVAL5).
std::string UninstallProductFolder();
// "Molvex Shared" below the common files folder.
std::string CommonSharedFolder();

void UnregisterDll(const std::string& path);
// Starts the program with "/UnregServer" from the product folder and waits up to 30 s.
void UnregisterExe(const std::string& path);
// Every library with `extension` in the product folder (or the common shared folder),
// found by bare name with that folder current, except the few that must stay registered.
void UnregisterFolderLibraries(const std::string& extension, bool common);
// The programs the installation listed when it registered them, then the list itself.
void UnregisterRecordedPrograms();
