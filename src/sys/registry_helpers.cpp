#include "sys/registry_helpers.h"

#include "sys/os.h"

namespace sys {

RegValue StringValue(const std::string& text, ValueType type) {
  RegValue value;
  value.type = type;
  value.data = text;
  value.data.push_back('\0');
  return value;
}

RegValue DwordValue(uint32_t number) {
  RegValue value;
  value.type = ValueType::Dword;
  for (int shift = 0; shift < 32; shift += 8) value.data.push_back(static_cast<char>((number >> shift) & 0xFF));
  return value;
}

std::string StringOf(const RegValue& value) {
  std::size_t end = value.data.find('\0');
  return end == std::string::npos ? value.data : value.data.substr(0, end);
}

std::optional<std::string> TextOf(const RegValue& value) {
  if (value.type != ValueType::String && value.type != ValueType::ExpandString) return std::nullopt;
  return StringOf(value);
}

std::optional<uint32_t> DwordOf(const RegValue& value) {
  if (value.type != ValueType::Dword || value.data.size() != 4) return std::nullopt;
  uint32_t number = 0;
  for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(value.data[i]);
  return number;
}

std::optional<std::string> QueryString(Hive hive, const std::string& path, const std::string& name,
                                       RegistryView view) {
  Result<RegValue> found = os().registry->QueryValue(hive, path, name, view);
  return found.ok() ? TextOf(found.value) : std::nullopt;
}

std::optional<uint32_t> QueryDword(Hive hive, const std::string& path, const std::string& name,
                                   RegistryView view) {
  Result<RegValue> found = os().registry->QueryValue(hive, path, name, view);
  return found.ok() ? DwordOf(found.value) : std::nullopt;
}

Error SetString(Hive hive, const std::string& path, const std::string& name, const std::string& text,
                ValueType type, RegistryView view) {
  return os().registry->SetValue(hive, path, name, StringValue(text, type), view);
}

Error SetDword(Hive hive, const std::string& path, const std::string& name, uint32_t value, RegistryView view) {
  return os().registry->SetValue(hive, path, name, DwordValue(value), view);
}

}  // namespace sys
