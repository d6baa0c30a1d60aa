#pragma once
// The data block checksum: the payload's little-endian 32-bit words XORed together (a
// short tail taken high byte first), then the block's two size fields the same way.
#include <cstddef>
#include <cstdint>

namespace cab {

uint32_t CabinetChecksum(const uint8_t* data, size_t size, uint32_t seed);

}  // namespace cab
