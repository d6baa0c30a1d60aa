#pragma once
// Copying over, deleting and removing with the retry questions: each primitive clears
// attributes that stand in the way, retries, asks the user, and tells its caller only
// the outcome.
#include <string>

// 1 copied, 0 not copied (the user cancelled, or an error that no retry can mend).
int CopyFileWithRetry(const std::string& source, const std::string& target, bool failIfExists);

// Results of DeleteFileWithRetry.
constexpr int kDeleteDone = 1;        // deleted, or it was not there
constexpr int kDeleteCancelled = 2;   // the user cancelled the sharing-violation question
constexpr int kDeleteFailed = 5;      // another error, or a sharing violation in a silent run
constexpr int kDeleteReadOnly = 0;    // the attributes in the way could not be cleared
int DeleteFileWithRetry(const std::string& path);

// Non-zero removed or ignored by the user; 0 failed or aborted.
int RemoveDirectoryWithRetry(const std::string& path);

// Deletes every file below `folder`, then the folders. 0 the folder is gone (or could not
// be listed at all); 1 it still exists.
int DeleteDirectoryTree(const std::string& folder);
