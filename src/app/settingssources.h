#pragma once
// The three places a session's settings come from, in the order they are asked: the
// command line, the settings INI file (section "Setup") and the per-user registry key.
// A later source fills a field only while it is still empty.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "session/boundedtext.h"
#include "session/session.h"
#include "app/options.h"

class SettingsSources {
 public:
  explicit SettingsSources(std::string_view commandLine) : commandLine_(commandLine) {}

  // Creates or opens the settings key; without it the registry is never asked.
  void OpenRegistry();
  bool registryOpen() const { return registryOpen_; }
  void UseIni(const std::string& iniPath) { iniPath_ = iniPath; }
  bool hasIni() const { return !iniPath_.empty(); }
  const std::string& iniPath() const { return iniPath_; }

  std::optional<std::string> Option(std::string_view name) const { return FindOption(commandLine_, name); }
  // Key of section "Setup", cut to capacity - 1 bytes; `def` when absent or without INI.
  std::string Ini(const char* key, std::size_t capacity, const char* def = "") const;
  int IniInt(const char* key, int def) const;
  // A value of the settings key, cut to capacity - 1 bytes at its first NUL.
  std::optional<std::string> Registry(const char* name, std::size_t capacity) const;
  std::optional<std::string> RegistryBytes(const char* name, std::size_t capacity) const;
  std::optional<uint32_t> RegistryDword(const char* name) const;

  template <std::size_t N>
  void FillFromOption(BoundedText<N>& field, std::string_view name) const {
    if (auto value = Option(name)) field = *value;
  }
  template <std::size_t N>
  void FillFromIni(BoundedText<N>& field, const char* key) const {
    if (field.empty() && hasIni()) field = Ini(key, N);
  }
  template <std::size_t N>
  void FillFromRegistry(BoundedText<N>& field, const char* name) const {
    if (!field.empty()) return;
    if (auto value = Registry(name, N)) field = *value;
  }
  // Option, then INI, then registry (a null key or name skips that source).
  template <std::size_t N>
  void Fill(BoundedText<N>& field, const char* option, const char* iniKey, const char* registryName) const {
    if (option != nullptr) FillFromOption(field, option);
    if (iniKey != nullptr) FillFromIni(field, iniKey);
    if (registryName != nullptr) FillFromRegistry(field, registryName);
  }

 private:
  std::string_view commandLine_;
  std::string iniPath_;
  bool registryOpen_ = false;
};
