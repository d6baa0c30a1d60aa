#pragma once
// The web server's configuration store (the metabase) and its web-application manager,
// reached through their administration objects. Paths are metabase paths such as
// "/LM/W3SVC/1/ROOT/Halomir", always from the master root. Every call creates the
// objects it needs, opens the key with read and write access (waiting up to a minute
// for it) and closes it again. Results are COM result codes or Win32 error numbers;
// 0 is success, and a machine without the web server answers every call with an error.
#include <cstdint>
#include <string>
#include <vector>

#include "sys/result.h"

namespace sys {

namespace metabase {
// Data types of a record.
constexpr uint32_t kAllTypes = 0;
constexpr uint32_t kNumber = 1;
constexpr uint32_t kString = 2;
constexpr uint32_t kBinary = 3;
constexpr uint32_t kExpandString = 4;
constexpr uint32_t kMultiString = 5;
// The attribute and user type every record of a virtual directory carries.
constexpr uint32_t kInherit = 1;
constexpr uint32_t kFileUserType = 2;
}  // namespace metabase

// One record. A string or expandable string carries its ANSI text here and is written
// as a UTF-16 string whose length counts the terminating zero; other types carry their
// raw bytes (a number: four, low byte first).
struct MetabaseRecord {
  uint32_t identifier = 0;
  uint32_t attributes = 0;
  uint32_t userType = 0;
  uint32_t dataType = 0;
  std::string data;
};

class WebServer {
 public:
  virtual ~WebServer() = default;

  // The key can be opened.
  virtual Error OpenKey(const std::string& path) = 0;
  // Adds `child` (one name) below the existing key `parent`.
  virtual Error AddKey(const std::string& parent, const std::string& child) = 0;
  virtual Error DeleteKey(const std::string& parent, const std::string& child) = 0;
  // Writes one record on the key itself.
  virtual Error SetData(const std::string& path, const MetabaseRecord& record) = 0;
  // Names of the key's direct children, in the order the metabase enumerates them.
  virtual Result<std::vector<std::string>> ChildKeys(const std::string& path) = 0;
  virtual Error Save() = 0;

  // The web-application manager: an application on the key, in-process or pooled; the
  // deletion removes the applications below it as well.
  virtual Error CreateApplication(const std::string& path, bool inProcess) = 0;
  virtual Error DeleteApplication(const std::string& path) = 0;

  // The "ScriptMaps" list of the web site with this number, read through the directory
  // service ("IIS://localhost/w3svc", child of class "IIsWebServer").
  virtual Result<std::vector<std::string>> ScriptMaps(int32_t site) = 0;
};

}  // namespace sys
