#include "sys/win32/profiles.h"

#include <vector>

#include "sys/win32/winapi.h"

namespace sys::win32 {

namespace {

constexpr DWORD kFirstKeyListCapacity = 4096;
constexpr DWORD kLargestKeyList = 1 << 20;

const char* OrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

class Win32ProfilesImpl final : public Profiles {
 public:
  std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& def, std::size_t capacity) override {
    if (capacity == 0) return std::string();
    std::vector<char> buffer(capacity, '\0');
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(),
                                            static_cast<DWORD>(capacity), file.c_str());
    return std::string(buffer.data(), length);
  }

  int GetInt(const std::string& file, const std::string& section, const std::string& key, int def) override {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), def, file.c_str()));
  }

  Error WriteString(const std::string& file, const std::string& section, const std::optional<std::string>& key,
                    const std::optional<std::string>& value) override {
    if (WritePrivateProfileStringA(section.c_str(), OrNull(key), key ? OrNull(value) : nullptr, file.c_str()))
      return err::kSuccess;
    return static_cast<Error>(GetLastError());
  }

  std::vector<std::string> GetKeys(const std::string& file, const std::string& section) override {
    // The names come back NUL-separated; a list that fills the buffer (size - 2) was cut.
    for (DWORD capacity = kFirstKeyListCapacity; capacity <= kLargestKeyList; capacity *= 2) {
      std::vector<char> buffer(capacity, '\0');
      DWORD length = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), capacity, file.c_str());
      if (length == capacity - 2) continue;
      std::vector<std::string> keys;
      for (DWORD at = 0; at < length;) {
        std::string name(buffer.data() + at);
        at += static_cast<DWORD>(name.size()) + 1;
        if (!name.empty()) keys.push_back(std::move(name));
      }
      return keys;
    }
    return {};
  }
};

}  // namespace

Profiles& Win32Profiles() {
  static Win32ProfilesImpl instance;
  return instance;
}

}  // namespace sys::win32
