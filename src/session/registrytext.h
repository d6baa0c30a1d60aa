#pragma once
// Reading registry values the way the settings need them: a string value as its text
// up to the first NUL, bounded by the reader's buffer; a DWORD as a number.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "sys/registry.h"

// The text of a value of any type (a string's bytes up to its NUL), cut to
// capacity - 1 bytes. Empty optional when the key or value is absent or no registry
// is installed.
std::optional<std::string> ReadRegistryText(sys::Hive hive, const std::string& path, const std::string& name,
                                            std::size_t capacity);

// The raw bytes of a value, at most `capacity` of them, whatever its type.
std::optional<std::string> ReadRegistryBytes(sys::Hive hive, const std::string& path, const std::string& name,
                                             std::size_t capacity);

// A DWORD value; empty when absent or not four bytes long.
std::optional<uint32_t> ReadRegistryDword(sys::Hive hive, const std::string& path, const std::string& name);
