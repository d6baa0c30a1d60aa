#pragma once
// The fixed version numbers of a Windows executable's version resource, read from the
// file's bytes alone. Every offset is checked against the buffer: a truncated or
// hostile file gives "no version", never a read outside the bytes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "sys/files.h"

namespace sys {

struct PeVersion {
  FileVersion file{};     // dwFileVersionMS/LS as four 16-bit parts
  FileVersion product{};  // dwProductVersionMS/LS
};

// The version resource's fixed block, or nothing when the bytes are not a PE image,
// carry no version resource, or the resource has no fixed block.
std::optional<PeVersion> ReadPeVersion(std::span<const uint8_t> image);

}  // namespace sys
