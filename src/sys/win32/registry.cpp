#include "sys/win32/registry.h"

#include <vector>

#include "sys/win32/winapi.h"
// Needs <windows.h> first.
#include <sddl.h>
#include <aclapi.h>
#include <shlwapi.h>

namespace sys::win32 {

namespace {

constexpr DWORD kKeyNameCapacity = 256;      // 255 characters and the NUL
constexpr DWORD kValueNameCapacity = 16384;  // 16383 characters and the NUL

HKEY RootOf(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser: return HKEY_CURRENT_USER;
    case Hive::LocalMachine: return HKEY_LOCAL_MACHINE;
    case Hive::ClassesRoot: return HKEY_CLASSES_ROOT;
    case Hive::Users: return HKEY_USERS;
  }
  return HKEY_CURRENT_USER;
}

REGSAM ViewOf(RegistryView view) {
  switch (view) {
    case RegistryView::Wow32: return KEY_WOW64_32KEY;
    case RegistryView::Wow64: return KEY_WOW64_64KEY;
    case RegistryView::Native: break;
  }
  return 0;
}

// The object name the security functions use for a key ("USERS\.DEFAULT\...").
std::string SecurityObjectName(Hive hive, const std::string& path) {
  switch (hive) {
    case Hive::CurrentUser: return "CURRENT_USER\\" + path;
    case Hive::LocalMachine: return "MACHINE\\" + path;
    case Hive::ClassesRoot: return "CLASSES_ROOT\\" + path;
    case Hive::Users: return "USERS\\" + path;
  }
  return path;
}

// The four access-list functions, found by name as older systems may lack them.
using GetNamedSecurityInfoFn = DWORD(WINAPI*)(LPCSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID*, PSID*, PACL*,
                                              PACL*, PSECURITY_DESCRIPTOR*);
using BuildExplicitAccessFn = VOID(WINAPI*)(PEXPLICIT_ACCESS_A, LPSTR, DWORD, ACCESS_MODE, DWORD);
using SetEntriesInAclFn = DWORD(WINAPI*)(ULONG, PEXPLICIT_ACCESS_A, PACL, PACL*);
using SetNamedSecurityInfoFn = DWORD(WINAPI*)(LPSTR, SE_OBJECT_TYPE, SECURITY_INFORMATION, PSID, PSID, PACL, PACL);

template <class Fn>
Fn Advapi(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("advapi32.dll"), name)));
}

REGSAM RightsOf(KeyAccess access) {
  switch (access) {
    case KeyAccess::Read: return KEY_READ;
    case KeyAccess::Write: return KEY_WRITE;
    case KeyAccess::All: return KEY_ALL_ACCESS;
  }
  return KEY_READ;
}

// An opened key, closed when it goes out of scope.
class OpenedKey {
 public:
  OpenedKey(Hive hive, const std::string& path, REGSAM rights, RegistryView view) {
    error_ = static_cast<Error>(RegOpenKeyExA(RootOf(hive), path.c_str(), 0, rights | ViewOf(view), &key_));
  }
  ~OpenedKey() {
    if (error_ == err::kSuccess) RegCloseKey(key_);
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;
  Error error() const { return error_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  Error error_;
};

class Win32RegistryImpl final : public Registry {
 public:
  Error CreateKey(Hive hive, const std::string& path, RegistryView view) override {
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(RootOf(hive), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_WRITE | ViewOf(view), nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) RegCloseKey(key);
    return static_cast<Error>(result);
  }

  Error CreateKeyWithDescriptor(Hive hive, const std::string& path, const std::string& descriptor) override {
    PSECURITY_DESCRIPTOR security = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(descriptor.c_str(), SDDL_REVISION_1, &security, nullptr))
      return static_cast<Error>(GetLastError());
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, security, FALSE};
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(RootOf(hive), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                  &attributes, &key, nullptr);
    LocalFree(security);
    if (result == ERROR_SUCCESS) RegCloseKey(key);
    return static_cast<Error>(result);
  }

  Error OpenKey(Hive hive, const std::string& path, KeyAccess access, RegistryView view) override {
    return OpenedKey(hive, path, RightsOf(access), view).error();
  }

  Error DeleteKey(Hive hive, const std::string& path, RegistryView view) override {
    return static_cast<Error>(RegDeleteKeyExA(RootOf(hive), path.c_str(), ViewOf(view), 0));
  }

  Error DeleteKeyTree(Hive hive, const std::string& path) override {
    return static_cast<Error>(SHDeleteKeyA(RootOf(hive), path.c_str()));
  }

  // Asked here rather than of the shell: Wine's shell deletes a key that still has values.
  Error DeleteEmptyKey(Hive hive, const std::string& path) override {
    DWORD subKeys = 0;
    DWORD values = 0;
    {
      OpenedKey key(hive, path, KEY_QUERY_VALUE, RegistryView::Native);
      if (key.error()) return key.error();
      LONG result = RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                                     nullptr, nullptr, nullptr, nullptr);
      if (result != ERROR_SUCCESS) return static_cast<Error>(result);
    }
    if (subKeys != 0 || values != 0) return static_cast<Error>(ERROR_DIR_NOT_EMPTY);
    return static_cast<Error>(RegDeleteKeyA(RootOf(hive), path.c_str()));
  }

  Result<RegValue> QueryValue(Hive hive, const std::string& path, const std::string& name,
                              RegistryView view) override {
    OpenedKey key(hive, path, KEY_QUERY_VALUE, view);
    if (key.error()) return Result<RegValue>::Fail(key.error());
    // The value may grow between the size query and the read: ask again when it did.
    for (;;) {
      DWORD type = 0;
      DWORD size = 0;
      LONG result = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
      if (result != ERROR_SUCCESS) return Result<RegValue>::Fail(static_cast<Error>(result));
      std::string data(size, '\0');
      result = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(data.data()), &size);
      if (result == ERROR_MORE_DATA) continue;
      if (result != ERROR_SUCCESS) return Result<RegValue>::Fail(static_cast<Error>(result));
      data.resize(size);
      return Result<RegValue>::Ok(RegValue{static_cast<ValueType>(type), std::move(data)});
    }
  }

  Error SetValue(Hive hive, const std::string& path, const std::string& name, const RegValue& value,
                 RegistryView view) override {
    OpenedKey key(hive, path, KEY_SET_VALUE, view);
    if (key.error()) return key.error();
    return static_cast<Error>(RegSetValueExA(key.get(), name.c_str(), 0, static_cast<DWORD>(value.type),
                                             reinterpret_cast<const BYTE*>(value.data.data()),
                                             static_cast<DWORD>(value.data.size())));
  }

  Error DeleteValue(Hive hive, const std::string& path, const std::string& name, RegistryView view) override {
    OpenedKey key(hive, path, KEY_SET_VALUE, view);
    if (key.error()) return key.error();
    return static_cast<Error>(RegDeleteValueA(key.get(), name.c_str()));
  }

  Result<std::vector<std::string>> EnumSubKeys(Hive hive, const std::string& path, RegistryView view) override {
    using R = Result<std::vector<std::string>>;
    OpenedKey key(hive, path, KEY_ENUMERATE_SUB_KEYS, view);
    if (key.error()) return R::Fail(key.error());
    std::vector<std::string> names;
    char name[kKeyNameCapacity];
    for (DWORD index = 0;; ++index) {
      DWORD length = kKeyNameCapacity;
      LONG result = RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_NO_MORE_ITEMS) break;
      if (result != ERROR_SUCCESS) return R::Fail(static_cast<Error>(result));
      names.emplace_back(name, length);
    }
    return R::Ok(std::move(names));
  }

  Result<std::vector<std::string>> EnumValueNames(Hive hive, const std::string& path, RegistryView view) override {
    using R = Result<std::vector<std::string>>;
    OpenedKey key(hive, path, KEY_QUERY_VALUE, view);
    if (key.error()) return R::Fail(key.error());
    std::vector<std::string> names;
    std::vector<char> name(kValueNameCapacity);
    for (DWORD index = 0;; ++index) {
      DWORD length = kValueNameCapacity;
      LONG result = RegEnumValueA(key.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_NO_MORE_ITEMS) break;
      if (result != ERROR_SUCCESS) return R::Fail(static_cast<Error>(result));
      names.emplace_back(name.data(), length);
    }
    return R::Ok(std::move(names));
  }

  Error GrantAllAccess(Hive hive, const std::string& path, const std::string& account) override {
    auto getInfo = Advapi<GetNamedSecurityInfoFn>("GetNamedSecurityInfoA");
    auto build = Advapi<BuildExplicitAccessFn>("BuildExplicitAccessWithNameA");
    auto merge = Advapi<SetEntriesInAclFn>("SetEntriesInAclA");
    auto setInfo = Advapi<SetNamedSecurityInfoFn>("SetNamedSecurityInfoA");
    if (!getInfo || !build || !merge || !setInfo) return ERROR_PROC_NOT_FOUND;
    std::string object = SecurityObjectName(hive, path);
    PACL oldList = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD result = getInfo(object.c_str(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &oldList,
                           nullptr, &descriptor);
    if (result != ERROR_SUCCESS) return result;
    EXPLICIT_ACCESS_A entry{};
    std::string trustee = account;
    build(&entry, trustee.data(), GENERIC_ALL, SET_ACCESS, SUB_CONTAINERS_AND_OBJECTS_INHERIT);
    PACL newList = nullptr;
    result = merge(1, &entry, oldList, &newList);
    if (result == ERROR_SUCCESS)
      result = setInfo(object.data(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, newList, nullptr);
    if (newList) LocalFree(newList);
    if (descriptor) LocalFree(descriptor);
    return result;
  }
};

}  // namespace

Registry& Win32Registry() {
  static Win32RegistryImpl instance;
  return instance;
}

}  // namespace sys::win32
