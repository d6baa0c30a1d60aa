#include "app/settingssources.h"

#include "session/registrytext.h"
#include "sys/os.h"
#include "sys/profiles.h"
#include "sys/registry.h"

namespace {
const std::string kKeyPath(kSettingsKeyPath);
const std::string kSection(kSetupSection);
}  // namespace

void SettingsSources::OpenRegistry() {
  sys::Registry* registry = sys::os().registry;
  registryOpen_ = registry != nullptr && registry->CreateKey(sys::Hive::CurrentUser, kKeyPath) == sys::err::kSuccess;
}

std::string SettingsSources::Ini(const char* key, std::size_t capacity, const char* def) const {
  sys::Profiles* profiles = sys::os().profiles;
  if (!hasIni() || profiles == nullptr) return def;
  return profiles->GetString(iniPath_, kSection, key, def, capacity);
}

int SettingsSources::IniInt(const char* key, int def) const {
  sys::Profiles* profiles = sys::os().profiles;
  if (!hasIni() || profiles == nullptr) return def;
  return profiles->GetInt(iniPath_, kSection, key, def);
}

std::optional<std::string> SettingsSources::Registry(const char* name, std::size_t capacity) const {
  if (!registryOpen_) return std::nullopt;
  return ReadRegistryText(sys::Hive::CurrentUser, kKeyPath, name, capacity);
}

std::optional<std::string> SettingsSources::RegistryBytes(const char* name, std::size_t capacity) const {
  if (!registryOpen_) return std::nullopt;
  return ReadRegistryBytes(sys::Hive::CurrentUser, kKeyPath, name, capacity);
}

std::optional<uint32_t> SettingsSources::RegistryDword(const char* name) const {
  if (!registryOpen_) return std::nullopt;
  return ReadRegistryDword(sys::Hive::CurrentUser, kKeyPath, name);
}
