#include "fakes/fake_modules.h"

#include <memory>
#include <utility>

#include "sys/paths.h"
#include "sys/systeminfo.h"

namespace fakes {

using sys::Error;
namespace err = sys::err;

namespace {
constexpr Error kNoVersionResourceError = 1812;
constexpr Error kNotADirectory = 267;  // ERROR_DIRECTORY
}  // namespace

void FakeModules::AddLibrary(const std::string& path, FakeLibrary library) {
  if (!files_.Exists(path)) files_.WriteText(path, "MZ");
  libraries_[sys::FoldedCopy(path)] = std::move(library);
}

void FakeModules::AddRegistrationLibrary(const std::string& path, std::vector<int32_t> results) {
  auto remaining = std::make_shared<std::vector<int32_t>>(std::move(results));
  FakeLibrary library;
  library.exports["DllRegisterServer"] = [remaining]() {
    if (remaining->empty()) return int32_t{0};
    int32_t result = remaining->front();
    if (remaining->size() > 1) remaining->erase(remaining->begin());
    return result;
  };
  library.exports["DllUnregisterServer"] = [] { return int32_t{0}; };
  AddLibrary(path, std::move(library));
}

void FakeModules::SetVersionString(const std::string& path, const std::string& name, const std::string& value) {
  versionStrings_[sys::FoldedCopy(path)][sys::FoldedCopy(name)] = value;
}

sys::Result<sys::ModuleHandle> FakeModules::Load(const std::string& path) {
  loadErrorModes.push_back(processes_.errorMode);
  if (Error e = faults.Check(ModuleOp::Load, path)) return {e};
  if (!files_.Exists(path)) return {err::kModuleNotFound};
  std::string key = sys::FoldedCopy(path);
  if (!libraries_.count(key)) return {err::kBadExeFormat};
  uint64_t id = nextId_++;
  loaded_[id] = key;
  return {sys::err::kSuccess, sys::ModuleHandle{id}};
}

sys::Result<sys::EntryPoint> FakeModules::FindExport(sys::ModuleHandle module, const std::string& name) {
  auto it = loaded_.find(module.id);
  if (it == loaded_.end()) return {err::kInvalidHandle};
  if (Error e = faults.Check(ModuleOp::FindExport, name)) return {e};
  const FakeLibrary& library = libraries_.at(it->second);
  if (!library.exports.count(name)) return {err::kProcNotFound};
  uint64_t id = nextId_++;
  exports_[id] = Export{it->second, name};
  return {sys::err::kSuccess, sys::EntryPoint{id}};
}

int32_t FakeModules::CallRegistrationEntry(sys::EntryPoint entry) {
  const Export& target = exports_.at(entry.id);
  calls.push_back(LibraryCall{target.path, target.name});
  return libraries_.at(target.path).exports.at(target.name)();
}

Error FakeModules::Free(sys::ModuleHandle module) {
  if (Error e = faults.Check(ModuleOp::Free)) return e;
  return loaded_.erase(module.id) ? err::kSuccess : err::kInvalidHandle;
}

Error FakeModules::SetCurrentFolder(const std::string& folder) {
  if (Error e = faults.Check(ModuleOp::SetCurrentFolder, folder)) return e;
  if (!files_.IsDirectory(folder)) return files_.Exists(folder) ? kNotADirectory : err::kFileNotFound;
  files_.currentFolder = folder;
  return err::kSuccess;
}

sys::Result<std::string> FakeModules::QueryVersionString(const std::string& path, const std::string& name) {
  if (Error e = faults.Check(ModuleOp::QueryVersionString, path)) return {e};
  if (!files_.Exists(path)) return {err::kFileNotFound};
  auto file = versionStrings_.find(sys::FoldedCopy(path));
  if (file == versionStrings_.end()) return {kNoVersionResourceError};
  auto value = file->second.find(sys::FoldedCopy(name));
  if (value == file->second.end()) return {err::kResourceTypeNotFound};
  return {sys::err::kSuccess, value->second};
}

}  // namespace fakes
