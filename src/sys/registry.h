#pragma once
// The registry as the program sees it: four hives, keys addressed by path
// ("Software\\Molvex\\e-Halomir Plandrix"), typed values. Names compare without
// letter case, as in Windows. Every call opens and closes the key itself.
#include <cstdint>
#include <string>
#include <vector>

#include "sys/result.h"

namespace sys {

enum class Hive { CurrentUser, LocalMachine, ClassesRoot, Users };

// The Win32 value type numbers.
enum class ValueType : uint32_t {
  None = 0,
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  Dword = 4,         // REG_DWORD
  MultiString = 7,   // REG_MULTI_SZ
  Qword = 11,        // REG_QWORD
};

// What a caller wants to do with an opened key; opening fails with 5 when denied.
enum class KeyAccess { Read, Write, All };

// Which registry view of a 64-bit system: the process's own, the 32-bit one (Wow6432Node),
// or the 64-bit one (also from a 32-bit process).
enum class RegistryView { Native, Wow32, Wow64 };

struct RegValue {
  ValueType type = ValueType::None;
  std::string data;  // raw bytes as stored; strings include their terminating NUL
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Creates the key and every missing parent, asking for write access: 0 when it exists
  // afterwards and may be written, 5 when writing there is refused (even if it exists).
  virtual Error CreateKey(Hive hive, const std::string& path, RegistryView view = RegistryView::Native) = 0;
  // Creates the key (and missing parents) with a security descriptor given as a descriptor
  // string, all-access rights. An adapter that cannot apply descriptors creates it plainly.
  virtual Error CreateKeyWithDescriptor(Hive hive, const std::string& path, const std::string& descriptor) {
    (void)descriptor;
    return CreateKey(hive, path);
  }
  // Opens the key with the rights asked and closes it again: 0 when it exists and the
  // rights are granted, 2 when it does not exist, 5 when the rights are refused.
  virtual Error OpenKey(Hive hive, const std::string& path, KeyAccess access,
                        RegistryView view = RegistryView::Native) = 0;
  // Deletes a key that has no sub-keys (5 otherwise, as RegDeleteKey on NT); 2 when absent.
  virtual Error DeleteKey(Hive hive, const std::string& path, RegistryView view = RegistryView::Native) = 0;
  // Deletes the key with all its sub-keys and values (the shell's recursive deletion):
  // 0 when deleted, 2 when absent, 5 when refused.
  virtual Error DeleteKeyTree(Hive hive, const std::string& path) = 0;
  // Deletes the key only when it has neither sub-keys nor values: 0 when deleted, 2 when
  // absent, another error (the key stays) when it is not empty or refused.
  virtual Error DeleteEmptyKey(Hive hive, const std::string& path) = 0;
  // A value with its type and raw bytes; 2 when the key or the value is absent.
  // An empty name is the key's default value.
  virtual Result<RegValue> QueryValue(Hive hive, const std::string& path, const std::string& name,
                                      RegistryView view = RegistryView::Native) = 0;
  // Sets a value in an existing key (2 when the key is absent).
  virtual Error SetValue(Hive hive, const std::string& path, const std::string& name, const RegValue& value,
                         RegistryView view = RegistryView::Native) = 0;
  virtual Error DeleteValue(Hive hive, const std::string& path, const std::string& name,
                            RegistryView view = RegistryView::Native) = 0;
  // Names of the direct sub-keys, in the order the registry keeps them.
  virtual Result<std::vector<std::string>> EnumSubKeys(Hive hive, const std::string& path,
                                                       RegistryView view = RegistryView::Native) = 0;
  // Names of the values of a key.
  virtual Result<std::vector<std::string>> EnumValueNames(Hive hive, const std::string& path,
                                                          RegistryView view = RegistryView::Native) = 0;
  // Merges into the key's access list one entry that grants `account` ("Everyone") all
  // rights, inherited by sub-keys: 0, or the error of reading or writing the list.
  virtual Error GrantAllAccess(Hive hive, const std::string& path, const std::string& account) = 0;
};

}  // namespace sys
