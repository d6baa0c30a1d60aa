#pragma once
// Libraries on a pretend machine: a test declares which files are loadable libraries
// and what their exports do; every load, lookup and call is recorded with the error
// mode in force, and version-resource strings are set per file.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_processes.h"
#include "fakes/faults.h"
#include "sys/modules.h"

namespace fakes {

enum class ModuleOp { Load, FindExport, Free, SetCurrentFolder, QueryVersionString };

// What calling an export does (keys it writes …) and the HRESULT it returns.
using ExportScript = std::function<int32_t()>;

struct FakeLibrary {
  std::map<std::string, ExportScript> exports;  // by exact name, as GetProcAddress matches
};

struct LibraryCall {
  std::string path;
  std::string entry;
};

class FakeModules : public sys::Modules {
 public:
  FakeModules(FakeFiles& files, FakeProcesses& processes) : files_(files), processes_(processes) {}

  sys::Result<sys::ModuleHandle> Load(const std::string& path) override;
  sys::Result<sys::EntryPoint> FindExport(sys::ModuleHandle module, const std::string& name) override;
  int32_t CallRegistrationEntry(sys::EntryPoint entry) override;
  sys::Error Free(sys::ModuleHandle module) override;
  sys::Error SetCurrentFolder(const std::string& folder) override;
  sys::Result<std::string> QueryVersionString(const std::string& path, const std::string& name) override;

  // Writes the file (when absent) and makes it a library with these exports. A file
  // that exists but was never declared loads with 193; an absent file with 126.
  void AddLibrary(const std::string& path, FakeLibrary library);
  // A library whose DllRegisterServer returns `results` in turn (the last one for good).
  void AddRegistrationLibrary(const std::string& path, std::vector<int32_t> results);
  // A string of the file's version resource ("Assembly Version").
  void SetVersionString(const std::string& path, const std::string& name, const std::string& value);

  // Error modes in force at each load, and every entry point called, in order.
  std::vector<uint32_t> loadErrorModes;
  std::vector<LibraryCall> calls;
  int OpenLibraryCount() const { return static_cast<int>(loaded_.size()); }
  Faults<ModuleOp> faults;

 private:
  struct Export {
    std::string path;
    std::string name;
  };
  std::map<std::string, FakeLibrary> libraries_;  // by folded path
  std::map<std::string, std::map<std::string, std::string>> versionStrings_;  // folded path, folded name
  std::map<uint64_t, std::string> loaded_;        // handle -> folded path
  std::map<uint64_t, Export> exports_;            // entry id -> export
  uint64_t nextId_ = 0x1000;
  FakeFiles& files_;
  FakeProcesses& processes_;
};

}  // namespace fakes
