#pragma once
// The uninstall run: removes the installation named by /UNINSTALL: (the installed-programs
// entry calls the program back with it).

// Runs the uninstall of `Session().installDir`. Returns when it has ended.
void RunUninstall();
