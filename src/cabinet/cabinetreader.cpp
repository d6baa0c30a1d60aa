#include "cabinet/cabinetreader.h"

#include <cstring>

namespace cab {

CabinetReader::CabinetReader(const Callbacks& callbacks, intptr_t handle, uint8_t* buffer)
    : callbacks_(callbacks),
      handle_(handle),
      buffer_(buffer + (kPageSize - reinterpret_cast<uintptr_t>(buffer) % kPageSize) % kPageSize) {
  std::memset(buffer_ + kBufferSize, 0, kInputPadding);
}

bool CabinetReader::Seek(uint32_t offset) {
  uint32_t bufferedFrom = fileOffset_ - end_;
  if (offset >= bufferedFrom && offset <= fileOffset_) {  // still in the buffer
    start_ = offset - bufferedFrom;
    return true;
  }
  if (offset > INT32_MAX || callbacks_.seek(handle_, static_cast<int32_t>(offset), kSeekSet) != static_cast<int32_t>(offset))
    return false;
  start_ = end_ = 0;
  fileOffset_ = offset;
  atEnd_ = false;
  return true;
}

bool CabinetReader::Fill(uint32_t wanted) {
  if (end_ - start_ >= wanted) return true;
  if (atEnd_ || wanted > kBufferSize) return false;
  if (start_ > 0) {
    // Keep the unread rest so that the next read lands on a page boundary: the system
    // copies faster into aligned memory.
    uint32_t rest = end_ - start_;
    uint32_t to = (kPageSize - rest % kPageSize) % kPageSize;
    if (to + wanted > kBufferSize) to = 0;
    std::memmove(buffer_ + to, buffer_ + start_, rest);
    start_ = to;
    end_ = to + rest;
  }
  while (end_ - start_ < wanted) {
    uint32_t got = callbacks_.read(handle_, buffer_ + end_, kBufferSize - end_);
    if (got == UINT32_MAX || got == 0 || got > kBufferSize - end_) {
      atEnd_ = true;
      return false;
    }
    end_ += got;
    fileOffset_ += got;
  }
  return true;
}

bool CabinetReader::Read(void* target, uint32_t count) {
  const uint8_t* block = ReadBlock(count);
  if (!block) return false;
  std::memcpy(target, block, count);
  return true;
}

const uint8_t* CabinetReader::ReadBlock(uint32_t count) {
  if (!Fill(count)) return nullptr;
  const uint8_t* block = buffer_ + start_;
  start_ += count;
  return block;
}

bool CabinetReader::ReadText(char* target, uint32_t capacity) {
  for (uint32_t i = 0; i < capacity; ++i) {
    uint8_t c;
    if (!Read(&c, 1)) return false;
    target[i] = static_cast<char>(c);
    if (c == 0) return true;
  }
  return false;
}

}  // namespace cab
