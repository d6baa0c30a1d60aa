#pragma once
// The web server's configuration for the web product lines: metabase keys and records,
// web applications, and the virtual directory that publishes an installation. Best
// effort: an error leaves the directory missing or incomplete and is only logged.
#include <cstdint>
#include <string>

#include "sys/result.h"

// "/LM/W3SVC/<site>/ROOT/<name>"; a site below 1 is the default site 1.
std::string VirtualDirectoryPath(int32_t site, const std::string& name);

// Adds the last part of a "parent/child" path below its parent.
sys::Error AddMetabaseKey(const std::string& path);
// Writes one record on the key (a number as four bytes, low first; a string as its ANSI
// text): 50 for the data types 0 and 5, 87 for an unknown type.
sys::Error SetMetabaseData(const std::string& path, uint32_t identifier, uint32_t attributes, uint32_t userType,
                           uint32_t dataType, const std::string& data);
bool MetabaseKeyExists(const std::string& path);
// A path that does not begin with "/" is below "/LM/".
sys::Error CreateWebApplication(const std::string& path, bool inProcess);
sys::Error DeleteWebApplication(const std::string& path);

// Publishes `physicalPath` as an in-process application below the session's web site; an
// existing virtual directory is left as it is.
void CreateVirtualDirectory(const std::string& name, const std::string& physicalPath);
// Deletes the application and the directory below site 1 (whatever site it was made on).
bool DeleteVirtualDirectory(const std::string& name);
