#pragma once
// The installation's shared files ("SharedDlls" below its key), in two walks: first the
// registered ones that no other installation counts are unregistered, then every count
// falls by one and a file whose count reaches 0 is deleted.

// Unregisters the listed libraries whose system count is below 2.
void UnregisterUnusedSharedFiles();
// Counts every listed file down and deletes those no longer used. The list is deleted
// afterwards, unless the user aborted a deletion: then the walk stops and the list stays.
void DeleteUnusedSharedFiles();
