#pragma once
// The installation's registry: the program's own settings keys, then the keys of the
// product line (a clean reinstall keeps the user's desktop settings).

// Deletes the program's settings keys (when nothing is left below them) and the
// install-status marker, then the line's keys.
void CleanUpRegistry();
