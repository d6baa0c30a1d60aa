#pragma once
// The common registry reads and writes in one line each, through the installed seam.
// Strings are written with their terminating NUL; reads drop it.
#include <cstdint>
#include <optional>
#include <string>

#include "sys/registry.h"

namespace sys {

// A string or expandable string value without its terminating NUL(s); nothing when the
// key or value is absent or holds another type.
std::optional<std::string> QueryString(Hive hive, const std::string& path, const std::string& name,
                                       RegistryView view = RegistryView::Native);
// A DWORD value; nothing when absent or of another type or size.
std::optional<uint32_t> QueryDword(Hive hive, const std::string& path, const std::string& name,
                                   RegistryView view = RegistryView::Native);

// Sets a string (REG_SZ, or REG_EXPAND_SZ when `type` says so) with its terminating NUL.
Error SetString(Hive hive, const std::string& path, const std::string& name, const std::string& text,
                ValueType type = ValueType::String, RegistryView view = RegistryView::Native);
Error SetDword(Hive hive, const std::string& path, const std::string& name, uint32_t value,
               RegistryView view = RegistryView::Native);

// The raw forms the two helpers above use, for code that builds RegValue itself.
RegValue StringValue(const std::string& text, ValueType type = ValueType::String);
RegValue DwordValue(uint32_t value);
// The text of a string value's bytes, cut at the first NUL.
std::string StringOf(const RegValue& value);
// The text of a string or expandable string value; nothing for another type.
std::optional<std::string> TextOf(const RegValue& value);
// The number of a four-byte DWORD value; nothing for another type or size.
std::optional<uint32_t> DwordOf(const RegValue& value);

}  // namespace sys
