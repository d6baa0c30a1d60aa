#pragma once
// The virtual PDF printer driver that some lines install: an older copy is removed before
// an update (and at uninstall), and the driver's server part is registered on 64-bit
// Windows after its set-up ran.

constexpr int kBeforeUpdate = 1;  // remove a driver older than the reference version
constexpr int kAtUninstall = 2;   // remove one up to and including the reference version

// Uninstalls the matching installed drivers, showing what it does in the progress window
// and putting the window's texts back afterwards.
void RemoveOldNovaPdf(int kind);

// Registers the server driver's library from the 64-bit registry view's install path;
// nothing on a 32-bit system.
void RegisterNovaPdfServerDriver();
