#include "cabinet/checksum.h"

#include <cstring>

#include "cabinet/bitreader.h"

namespace cab {

uint32_t CabinetChecksum(const uint8_t* data, size_t size, uint32_t seed) {
  // Four independent lanes keep the loop from waiting on each XOR; order does not
  // matter to an XOR.
  uint64_t lanes[4] = {0, 0, 0, 0};
  size_t i = 0;
  for (; i + 32 <= size; i += 32)
    for (int lane = 0; lane < 4; ++lane) lanes[lane] ^= LoadLe64(data + i + 8 * lane);
  uint64_t wide = lanes[0] ^ lanes[1] ^ lanes[2] ^ lanes[3];
  for (; i + 8 <= size; i += 8) wide ^= LoadLe64(data + i);
  uint32_t sum = seed ^ static_cast<uint32_t>(wide) ^ static_cast<uint32_t>(wide >> 32);
  for (; i + 4 <= size; i += 4) sum ^= data[i] | data[i + 1] << 8 | data[i + 2] << 16 | static_cast<uint32_t>(data[i + 3]) << 24;
  uint32_t tail = 0;
  switch (size - i) {
    case 3:
      tail |= static_cast<uint32_t>(data[i++]) << 16;
      [[fallthrough]];
    case 2:
      tail |= static_cast<uint32_t>(data[i++]) << 8;
      [[fallthrough]];
    case 1:
      tail |= data[i];
      break;
    default:
      break;
  }
  return sum ^ tail;
}

}  // namespace cab
