#pragma once
// The uninstall run: removes the installation named by `installDir` and `productLine`
// (the installed-programs entry calls the program back with /UNINSTALL:, and a clean
// reinstall removes the old installation first).

// Set only by the confirmation's check box: the installation's shared files that no
// other installation counts are unregistered and deleted. Clear, their counts stay.
extern bool removeSharedFiles;

// Runs every step of the removal in order; failures are logged or asked by the
// primitives, never returned.
void RunUninstall();
