#pragma once
// The plain transfer of a URL into a new temporary file over the open site session.
#include <string>

// Makes "_sy….tmp" in the temporary folder (its path always goes into `tempPath`) and
// writes the body of `url` into it. True when the whole body was written; a failure
// leaves an empty or short file behind for the caller to delete. Reports nothing.
bool FetchUrlToTempFile(const std::string& url, std::string& tempPath);
