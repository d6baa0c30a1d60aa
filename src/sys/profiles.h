#pragma once
// INI files through the system's profile functions, with their rules: section and key
// names compare without letter case; values are cut at the caller's capacity; a write
// creates the file and the section as needed; a missing file reads as the default.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "sys/result.h"

namespace sys {

class Profiles {
 public:
  virtual ~Profiles() = default;

  // GetPrivateProfileString: the value (blanks around it and one pair of surrounding
  // quotes removed) or `def`, cut to capacity - 1 bytes.
  virtual std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& def, std::size_t capacity) = 0;
  // GetPrivateProfileInt: the leading decimal number of the value, or `def` when absent.
  virtual int GetInt(const std::string& file, const std::string& section, const std::string& key, int def) = 0;
  // WritePrivateProfileString: a value; no value deletes the key; no key deletes the section.
  virtual Error WriteString(const std::string& file, const std::string& section,
                            const std::optional<std::string>& key, const std::optional<std::string>& value) = 0;
  // The key names of a section, in file order (empty when the file or section is absent).
  virtual std::vector<std::string> GetKeys(const std::string& file, const std::string& section) = 0;
};

}  // namespace sys
