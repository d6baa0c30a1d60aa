#pragma once
// Buffered reading of one open cabinet through the caller's read and seek callbacks, so
// that a data block's header and payload cost one callback now and then rather than two
// per block. Blocks handed out stay valid until the next call.
#include <cstdint>

#include "cabinet/bitreader.h"
#include "cabinet/cabinet.h"
#include "cabinet/cabinetmemory.h"

namespace cab {

class CabinetReader {
 public:
  static constexpr uint32_t kBufferSize = 0x20000;  // room for the largest data block twice over
  static constexpr uint32_t kPageSize = 0x1000;

  // What the buffer given to the reader must hold: it aligns its work area to a page.
  static constexpr uint32_t kBufferAllocation = kBufferSize + kInputPadding + kPageSize;

  // `buffer` holds kBufferAllocation bytes.
  CabinetReader(const Callbacks& callbacks, intptr_t handle, uint8_t* buffer);

  // Moves to an absolute offset. False when the seek callback fails.
  bool Seek(uint32_t offset);
  uint32_t Tell() const { return fileOffset_ - (end_ - start_); }
  // Exactly `count` bytes, or false at the end of the file or on a read failure.
  bool Read(void* target, uint32_t count);
  // `count` (at most kBufferSize) contiguous bytes followed by kInputPadding readable
  // bytes; nullptr when the file ends first.
  const uint8_t* ReadBlock(uint32_t count);
  // A NUL-terminated text of at most `capacity` bytes with its NUL; false when it is
  // longer or the file ends first.
  bool ReadText(char* target, uint32_t capacity);
  bool Skip(uint32_t count) { return ReadBlock(count) != nullptr || count == 0; }

 private:
  bool Fill(uint32_t wanted);

  const Callbacks& callbacks_;
  intptr_t handle_;
  uint8_t* buffer_;
  uint32_t start_ = 0;
  uint32_t end_ = 0;
  uint32_t fileOffset_ = 0;  // the file offset of buffer_[end_]
  bool atEnd_ = false;
};

}  // namespace cab
