#pragma once
// INI files kept as bytes in the fake file system, read and written with the profile
// API's rules: section and key names without letter case, values trimmed of blanks and
// one pair of surrounding quotes, cut at the caller's capacity, file and section made
// on the first write, keys and sections deleted by writing nothing. A bare file name
// lives in the Windows folder.
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_files.h"
#include "sys/profiles.h"

namespace fakes {

class FakeProfiles : public sys::Profiles {
 public:
  explicit FakeProfiles(FakeFiles& files) : files_(files) {}

  std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& def, std::size_t capacity) override;
  int GetInt(const std::string& file, const std::string& section, const std::string& key, int def) override;
  sys::Error WriteString(const std::string& file, const std::string& section, const std::optional<std::string>& key,
                         const std::optional<std::string>& value) override;
  std::vector<std::string> GetKeys(const std::string& file, const std::string& section) override;

 private:
  std::optional<std::string> Find(const std::string& file, const std::string& section, const std::string& key);

  FakeFiles& files_;
};

}  // namespace fakes
