#include "sys/win32/modules.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "sys/win32/winapi.h"

namespace sys::win32 {

namespace {

// DllRegisterServer and DllUnregisterServer take nothing and return an HRESULT.
using RegistrationEntryFn = HRESULT(STDAPICALLTYPE*)();

Error LastError() { return static_cast<Error>(GetLastError()); }

HMODULE ToModule(ModuleHandle module) { return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(module.id)); }

// One language and code page pair of "\VarFileInfo\Translation".
struct Translation {
  WORD language;
  WORD codePage;
};

class Win32ModulesAdapter : public Modules {
 public:
  Result<ModuleHandle> Load(const std::string& path) override {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) return Result<ModuleHandle>::Fail(LastError());
    return Result<ModuleHandle>::Ok(ModuleHandle{reinterpret_cast<uintptr_t>(module)});
  }

  Result<EntryPoint> FindExport(ModuleHandle module, const std::string& name) override {
    FARPROC function = GetProcAddress(ToModule(module), name.c_str());
    if (function == nullptr) return Result<EntryPoint>::Fail(LastError());
    return Result<EntryPoint>::Ok(EntryPoint{reinterpret_cast<uintptr_t>(function)});
  }

  int32_t CallRegistrationEntry(EntryPoint entry) override {
    auto function = reinterpret_cast<RegistrationEntryFn>(static_cast<uintptr_t>(entry.id));
    return static_cast<int32_t>(function());
  }

  Error Free(ModuleHandle module) override { return FreeLibrary(ToModule(module)) ? err::kSuccess : LastError(); }

  Error SetCurrentFolder(const std::string& folder) override {
    return SetCurrentDirectoryA(folder.c_str()) ? err::kSuccess : LastError();
  }

  Result<std::string> QueryVersionString(const std::string& path, const std::string& name) override {
    using R = Result<std::string>;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return R::Fail(LastError());
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return R::Fail(LastError());
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                        &length) ||
        length < sizeof(Translation))
      return R::Fail(ERROR_RESOURCE_TYPE_NOT_FOUND);
    char block[96] = {};
    std::snprintf(block, sizeof block, "\\StringFileInfo\\%04x%04x\\", translations->language,
                  translations->codePage);
    std::string query = block + name;
    char* text = nullptr;
    if (!VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) || text == nullptr)
      return R::Fail(ERROR_RESOURCE_TYPE_NOT_FOUND);
    // The length may or may not count the terminating NUL.
    return R::Ok(std::string(text, strnlen(text, length)));
  }
};

}  // namespace

Modules& Win32Modules() {
  static Win32ModulesAdapter adapter;
  return adapter;
}

}  // namespace sys::win32
