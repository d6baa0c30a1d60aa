#pragma once
// The file list of the session's release, fetched from the site with the registration
// data. The site session it opens stays open for the item transfers of the run.
#include <cstdint>
#include <string>

// The path buffer the list's cache path comes back in, as the system's downloads get it.
constexpr uint32_t kCachePathCapacity = 512;

// Authenticates, takes the server time stamp into the site's `listTimestamp` and
// downloads the list into the internet cache; `listPath` names the cache file. False on
// a failure (already reported, a list refused for its signature too) or a cancel (not
// reported).
bool RequestFileList(std::string& listPath);
