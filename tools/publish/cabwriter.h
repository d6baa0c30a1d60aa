#pragma once
// Writes a cabinet that holds one file in one folder, either stored or MSZIP
// compressed (each 32 KB block a deflate stream that may refer back to the previous
// block, as the format allows), with data-block checksums.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace publish {

enum class Compression { None, Mszip };

struct CabinetFile {
  std::string name;  // the name stored in the cabinet (ANSI bytes)
  std::span<const uint8_t> bytes;
  uint16_t dosDate = 0;
  uint16_t dosTime = 0;
};

struct CabinetBuild {
  std::vector<uint8_t> bytes;
  std::string error;
  bool ok() const { return error.empty(); }
};

CabinetBuild BuildSingleFileCabinet(const CabinetFile& file, Compression compression);

// The cabinet format's data-block checksum over `data`, continuing from `seed`.
uint32_t CabinetChecksum(std::span<const uint8_t> data, uint32_t seed);

}  // namespace publish
