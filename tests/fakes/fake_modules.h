#pragma once
// Libraries on a pretend machine: a test declares which files are loadable libraries
// and what their exports do; every load (with the error mode in force) and every call
// is recorded; version-resource strings are set per file.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "fakes/fake_processes.h"
#include "fakes/faults.h"
#include "sys/modules.h"
#include "sys/paths.h"
#include "sys/systeminfo.h"

namespace fakes {

enum class ModuleOp { Load };

// Export name (matched exactly, as GetProcAddress does) -> what calling it does and returns.
using FakeLibrary = std::map<std::string, std::function<int32_t()>>;

class FakeModules : public sys::Modules {
 public:
  FakeModules(FakeFiles& files, FakeProcesses& processes) : files_(files), processes_(processes) {}

  sys::Result<sys::ModuleHandle> Load(const std::string& name) override {
    loadErrorModes.push_back(processes_.errorMode);
    // A bare name is found in the current folder first, as the system's search order has it.
    const std::string path = name.find('\\') == std::string::npos && !files_.currentFolder.empty()
                                 ? sys::JoinPath(files_.currentFolder, name)
                                 : name;
    if (sys::Error e = faults.Check(ModuleOp::Load, path)) return {e};
    if (!files_.Exists(path)) return {sys::err::kModuleNotFound};
    if (!libraries_.count(sys::FoldedCopy(path))) return {sys::err::kBadExeFormat};
    loaded_[nextId_] = sys::FoldedCopy(path);
    return {sys::err::kSuccess, sys::ModuleHandle{nextId_++}};
  }
  sys::Result<sys::EntryPoint> FindExport(sys::ModuleHandle module, const std::string& name) override {
    auto it = loaded_.find(module.id);
    if (it == loaded_.end()) return {sys::err::kInvalidHandle};
    auto entry = libraries_.at(it->second).find(name);
    if (entry == libraries_.at(it->second).end()) return {sys::err::kProcNotFound};
    exports_[nextId_] = entry;
    return {sys::err::kSuccess, sys::EntryPoint{nextId_++}};
  }
  int32_t CallRegistrationEntry(sys::EntryPoint entry) override {
    calls.push_back(exports_.at(entry.id)->first);
    return exports_.at(entry.id)->second();
  }
  sys::Error Free(sys::ModuleHandle module) override {
    return loaded_.erase(module.id) ? sys::err::kSuccess : sys::err::kInvalidHandle;
  }
  sys::Error SetCurrentFolder(const std::string& folder) override {
    if (!files_.IsDirectory(folder)) return files_.Exists(folder) ? errnum::kDirectory : sys::err::kFileNotFound;
    files_.currentFolder = folder;
    return sys::err::kSuccess;
  }
  sys::Result<std::string> QueryVersionString(const std::string& path, const std::string& name) override {
    if (!files_.Exists(path)) return {sys::err::kFileNotFound};
    auto file = versionStrings_.find(sys::FoldedCopy(path));
    if (file == versionStrings_.end()) return {errnum::kNoVersionResource};
    auto value = file->second.find(sys::FoldedCopy(name));
    if (value == file->second.end()) return {sys::err::kResourceTypeNotFound};
    return {sys::err::kSuccess, value->second};
  }

  // Writes the file (when absent) and makes it a library. A file that exists but was
  // never declared loads with 193; an absent file with 126.
  void AddLibrary(const std::string& path, FakeLibrary library) {
    if (!files_.Exists(path)) files_.WriteText(path, "MZ");
    libraries_[sys::FoldedCopy(path)] = std::move(library);
  }
  // A library whose DllRegisterServer returns `results` in turn (the last one for good).
  void AddRegistrationLibrary(const std::string& path, std::vector<int32_t> results) {
    auto remaining = std::make_shared<std::vector<int32_t>>(std::move(results));
    auto next = [remaining] {
      int32_t result = remaining->empty() ? 0 : remaining->front();
      if (remaining->size() > 1) remaining->erase(remaining->begin());
      return result;
    };
    AddLibrary(path, {{"DllRegisterServer", next}, {"DllUnregisterServer", [] { return int32_t{0}; }}});
  }
  // A string of the file's version resource ("Assembly Version").
  void SetVersionString(const std::string& path, const std::string& name, const std::string& value) {
    versionStrings_[sys::FoldedCopy(path)][sys::FoldedCopy(name)] = value;
  }

  std::vector<uint32_t> loadErrorModes;
  std::vector<std::string> calls;  // the entry points called, in order
  int OpenLibraryCount() const { return static_cast<int>(loaded_.size()); }
  Faults<ModuleOp> faults;

 private:
  std::map<std::string, FakeLibrary> libraries_;                              // by folded path
  std::map<std::string, std::map<std::string, std::string>> versionStrings_;  // folded path, folded name
  std::map<uint64_t, std::string> loaded_;                                    // handle -> folded path
  std::map<uint64_t, FakeLibrary::const_iterator> exports_;
  uint64_t nextId_ = 0x1000;
  FakeFiles& files_;
  FakeProcesses& processes_;
};

}  // namespace fakes
