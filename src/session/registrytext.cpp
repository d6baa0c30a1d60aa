#include "session/registrytext.h"

#include "sys/os.h"

std::optional<std::string> ReadRegistryBytes(sys::Hive hive, const std::string& path, const std::string& name,
                                             std::size_t capacity) {
  sys::Registry* registry = sys::os().registry;
  if (registry == nullptr) return std::nullopt;
  auto value = registry->QueryValue(hive, path, name);
  if (!value.ok()) return std::nullopt;
  std::string bytes = std::move(value.value.data);
  if (bytes.size() > capacity) bytes.resize(capacity);
  return bytes;
}

std::optional<std::string> ReadRegistryText(sys::Hive hive, const std::string& path, const std::string& name,
                                            std::size_t capacity) {
  if (capacity == 0) return std::nullopt;
  auto bytes = ReadRegistryBytes(hive, path, name, capacity - 1);
  if (!bytes) return std::nullopt;
  std::size_t nul = bytes->find('\0');
  if (nul != std::string::npos) bytes->resize(nul);
  return bytes;
}

std::optional<uint32_t> ReadRegistryDword(sys::Hive hive, const std::string& path, const std::string& name) {
  auto bytes = ReadRegistryBytes(hive, path, name, 8);
  if (!bytes || bytes->size() != 4) return std::nullopt;
  const auto* b = reinterpret_cast<const unsigned char*>(bytes->data());
  return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
         static_cast<uint32_t>(b[3]) << 24;
}
