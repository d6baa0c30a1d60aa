#pragma once
// Component registration after a run's files are in place: programs register themselves
// with "/RegServer", COM libraries through their "DllRegisterServer", .NET assemblies
// through the framework's "regAsm". Every failure asks Abort/Retry/Ignore; a silent run
// aborts. Registered programs and assemblies are listed for the uninstall run.
#include <string>

#include "filelist/fileentry.h"

// Registers one file-list entry's component in its target folder. True done, ignored or
// deferred to the next logon; false the user chose Abort.
bool RegisterComponent(FileEntry& entry);
// The same for a component found elsewhere, at `path`.
bool RegisterComponentAt(const std::string& path, const FileEntry& entry);

// Starts the program with "/RegServer" and judges its exit code. true done or ignored;
// false Abort. Lists the program unless aborted.
bool RegisterExe(const std::string& path);

// Runs the assembly registration tool on the file (with "/codebase" when asked, or
// "/unregister"). True done, ignored, or nothing to do (no framework with the tool);
// false Abort. Lists the assembly unless aborted.
bool RegisterAssembly(const std::string& path, bool registerIt, bool codebase);

// True when the file's version resource carries the string "Assembly Version".
bool HasAssemblyVersion(const std::string& path);

// Looks for the newest .NET framework (2.0.50727 or later) that has "regasm.exe" and
// remembers its folder; empty when there is none.
void FindRegAsmFolder();
const std::string& RegAsmFolder();
