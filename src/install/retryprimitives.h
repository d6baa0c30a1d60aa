#pragma once
// Copying over, deleting and removing with the retry questions: each primitive clears
// attributes that stand in the way, retries, asks the user, and tells its caller only
// the outcome.
#include <string>

enum class CopyOutcome {
  Copied,
  Cancelled,  // the user answered the retry question with Cancel
  Failed,     // an error that no retry can mend
};
CopyOutcome CopyFileWithRetry(const std::string& source, const std::string& target, bool failIfExists);

enum class DeleteOutcome {
  Done,       // deleted, or it was not there
  Cancelled,  // the user cancelled the sharing-violation question
  Failed,     // another error, or a sharing violation in a silent run
  ReadOnly,   // the attributes in the way could not be cleared
};
DeleteOutcome DeleteFileWithRetry(const std::string& path);

enum class RemoveOutcome {
  Removed,
  Ignored,  // the user chose Ignore for a folder in use
  Failed,   // an error, or the user chose Abort
};
RemoveOutcome RemoveDirectoryWithRetry(const std::string& path);

// Deletes every file below `folder`, then the folders. True when the folder is gone (or
// could not be listed at all); false when it still exists.
bool DeleteDirectoryTree(const std::string& folder);
