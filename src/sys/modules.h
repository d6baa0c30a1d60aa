#pragma once
// Libraries loaded into this process to run their registration entry points, and the
// named strings of a file's version resource. Paths are ANSI Windows paths.
#include <cstdint>
#include <string>

#include "sys/result.h"

namespace sys {

namespace err {
constexpr Error kBadExeFormat = 193;          // not a library this process can load
constexpr Error kResourceTypeNotFound = 1813;  // the version resource lacks the block asked for
}  // namespace err

// A loaded library. 0 is never a valid handle.
struct ModuleHandle {
  uint64_t id = 0;
  explicit operator bool() const { return id != 0; }
};

// An exported function of a loaded library; valid until the library is freed.
struct EntryPoint {
  uint64_t id = 0;
  explicit operator bool() const { return id != 0; }
};

class Modules {
 public:
  virtual ~Modules() = default;

  // LoadLibrary under the error mode the caller has set: 126 when the file or one of the
  // libraries it needs is absent, 193 when it is no library for this process.
  virtual Result<ModuleHandle> Load(const std::string& path) = 0;
  // GetProcAddress: 127 when the library does not export `name`.
  virtual Result<EntryPoint> FindExport(ModuleHandle module, const std::string& name) = 0;
  // Calls an entry point of the registration kind (no arguments, an HRESULT back) and
  // returns what it returned: 0 or more is success.
  virtual int32_t CallRegistrationEntry(EntryPoint entry) = 0;
  virtual Error Free(ModuleHandle module) = 0;

  // SetCurrentDirectory: a library's own dependencies and a started program are looked
  // for in the current folder, so registration runs from the component's folder.
  virtual Error SetCurrentFolder(const std::string& folder) = 0;

  // The string `name` ("Assembly Version") of the first translation of the file's
  // version resource: 1812 when the file has no version resource, 1813 when it has no
  // such string, another error when the file cannot be read.
  virtual Result<std::string> QueryVersionString(const std::string& path, const std::string& name) = 0;
};

}  // namespace sys
