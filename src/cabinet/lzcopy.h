#pragma once
// The match copy shared by the LZ decoders: source and destination may overlap (a
// distance shorter than the length repeats the pattern). The caller guarantees kCopySlack
// writable bytes after dest+length.
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace cab {

constexpr size_t kCopySlack = 16;

inline void CopyMatch(uint8_t* dest, size_t distance, size_t length) {
  const uint8_t* src = dest - distance;
  uint8_t* end = dest + length;
  if (distance >= 8) {
    while (dest < end) {  // may write up to 7 bytes past end: the slack
      std::memcpy(dest, src, 8);
      dest += 8;
      src += 8;
    }
  } else if (distance == 1) {
    std::memset(dest, *src, length);
  } else {  // a short pattern: copied in doubling chunks from the match's start
    while (dest < end) {
      size_t chunk = static_cast<size_t>(dest - src);
      if (chunk > static_cast<size_t>(end - dest)) chunk = static_cast<size_t>(end - dest);
      std::memcpy(dest, src, chunk);
      dest += chunk;
    }
  }
}

}  // namespace cab
