#pragma once
// An in-memory registry: four hives of keys whose names keep their case but compare
// without it, typed values in the order they were first set, sub-keys in sorted order,
// access refused per key (and everything below it), and the 32-bit view of a 64-bit
// system under "Software\Wow6432Node". HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE's
// "Software\Classes", as the program sees it on a machine-wide installation.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fakes/faults.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace fakes {

enum class RegistryOp { CreateKey };

class FakeRegistry : public sys::Registry {
 public:
  FakeRegistry();
  ~FakeRegistry() override;

  sys::Error CreateKey(sys::Hive hive, const std::string& path, sys::RegistryView view) override;
  sys::Error CreateKeyWithDescriptor(sys::Hive hive, const std::string& path, const std::string& descriptor) override;
  sys::Error OpenKey(sys::Hive hive, const std::string& path, sys::KeyAccess access, sys::RegistryView view) override;
  sys::Error DeleteKey(sys::Hive hive, const std::string& path, sys::RegistryView view) override;
  sys::Error DeleteKeyTree(sys::Hive hive, const std::string& path) override;
  sys::Error DeleteEmptyKey(sys::Hive hive, const std::string& path) override;
  sys::Result<sys::RegValue> QueryValue(sys::Hive hive, const std::string& path, const std::string& name,
                                        sys::RegistryView view) override;
  sys::Error SetValue(sys::Hive hive, const std::string& path, const std::string& name, const sys::RegValue& value,
                      sys::RegistryView view) override;
  sys::Error DeleteValue(sys::Hive hive, const std::string& path, const std::string& name,
                         sys::RegistryView view) override;
  sys::Result<std::vector<std::string>> EnumSubKeys(sys::Hive hive, const std::string& path,
                                                    sys::RegistryView view) override;
  sys::Result<std::vector<std::string>> EnumValueNames(sys::Hive hive, const std::string& path,
                                                       sys::RegistryView view) override;
  sys::Error GrantAllAccess(sys::Hive hive, const std::string& path, const std::string& account) override {
    return HasKey(hive, path) ? (grants.push_back(path + "<-" + account), sys::err::kSuccess) : sys::err::kFileNotFound;
  }
  std::vector<std::string> grants;  // "path<-account" of existing keys

  // Test set-up and read-back in the native view; these bypass refusals and faults.
  void PutValue(sys::Hive hive, const std::string& path, const std::string& name, const sys::RegValue& value);
  void PutString(sys::Hive hive, const std::string& path, const std::string& name, const std::string& text) {
    PutValue(hive, path, name, sys::StringValue(text));
  }
  void PutDword(sys::Hive hive, const std::string& path, const std::string& name, uint32_t value) {
    PutValue(hive, path, name, sys::DwordValue(value));
  }
  bool HasKey(sys::Hive hive, const std::string& path) const;
  std::optional<sys::RegValue> ValueOf(sys::Hive hive, const std::string& path, const std::string& name) const;
  // A string value's text (without its NUL) or nothing.
  std::optional<std::string> StringOf(sys::Hive hive, const std::string& path, const std::string& name) const {
    auto value = ValueOf(hive, path, name);
    return value ? sys::TextOf(*value) : std::nullopt;
  }
  std::optional<uint32_t> DwordOf(sys::Hive hive, const std::string& path, const std::string& name) const {
    auto value = ValueOf(hive, path, name);
    return value ? sys::DwordOf(*value) : std::nullopt;
  }
  // Refuses `refused` on the key and all below it: Write refuses Write and All (a user
  // without administrator rights under HKEY_LOCAL_MACHINE); Read refuses everything.
  void RefuseAccess(sys::Hive hive, const std::string& path, sys::KeyAccess refused);

  Faults<RegistryOp> faults;

  struct Key;

 private:
  using Parts = std::vector<std::string>;
  Parts Resolve(sys::Hive hive, const std::string& path, sys::RegistryView view) const;
  Key* Find(const Parts& parts) const;
  Key* Create(const Parts& parts);
  bool Refused(const Parts& parts, sys::KeyAccess access) const;
  // The key at a path and 0, or 2 when it is absent, 5 when `access` is refused.
  std::pair<Key*, sys::Error> Lookup(sys::Hive hive, const std::string& path, sys::RegistryView view,
                                     sys::KeyAccess access) const;

  std::unique_ptr<Key> root_;  // children: the hive names
  std::map<std::string, sys::KeyAccess> refusals_;  // folded full key path -> refused access
};

}  // namespace fakes
