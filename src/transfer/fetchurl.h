#pragma once
// The plain transfer of a URL into a new temporary file over the open site session.
#include <cstdint>
#include <string>

// Sees a transfer that runs ahead of its item, which the window and the log must not
// show yet: the bytes written so far after every chunk, and what the log is to say.
class TransferObserver {
 public:
  virtual ~TransferObserver() = default;
  // False stops the transfer, which then counts as failed.
  virtual bool Written(uint64_t bytes) = 0;
  virtual void Note(const std::string& logLine) = 0;
};

// Makes "_sy….tmp" in the temporary folder (its path always goes into `tempPath`) and
// writes the body of `url` into it. True when the whole body was written; a failure
// leaves an empty or short file behind for the caller to delete. Reports nothing but
// its progress and a note in the log: to `observer` when given, else to the progress
// window as the current item's and to the log at once.
bool FetchUrlToTempFile(const std::string& url, std::string& tempPath, TransferObserver* observer = nullptr);
