#pragma once
// One folder's uncompressed byte stream, decoded block by block as files ask for it.
// Moving backwards restarts the folder; a block is never held longer than its bytes
// are needed.
#include <cstdint>

#include "cabinet/cabinetcontext.h"
#include "cabinet/cabinetheader.h"
#include "cabinet/cabinetreader.h"
#include "cabinet/framedecoder.h"

namespace cab {

// Internal result: the folder goes on in the next cabinet of a set.
constexpr int32_t kContinuesInNextCabinet = -1;

class FolderStream final : public BlockSource {
 public:
  FolderStream(Context& context, CabinetReader& reader, const CabinetHeader& header)
      : context_(context), reader_(reader), header_(header) {}

  // Makes `offset` bytes into folder `index` the next to deliver. An error code or kNone.
  int32_t SeekTo(uint16_t index, uint32_t offset);
  // Writes the next `count` bytes to `handle`. An error code or kNone.
  int32_t Deliver(intptr_t handle, uint32_t count);
  // Saves the current stored block's unread bytes before the reader moves elsewhere.
  void KeepBlock();
  bool PullNextBlock(const uint8_t*& payload, uint32_t& size) override;

 private:
  int32_t OpenFolder(uint16_t index);
  // Reads (and checks) the next data block. An error code or kNone.
  int32_t ReadDataBlock(const uint8_t*& payload, uint16_t& size, uint16_t& produced);
  int32_t NextBlock();

  Context& context_;
  CabinetReader& reader_;
  const CabinetHeader& header_;
  int32_t folder_ = -1;
  FrameDecoder* decoder_ = nullptr;
  uint32_t blocksLeft_ = 0;
  uint32_t nextBlockOffset_ = 0;
  uint64_t position_ = 0;  // folder offset of the block's next unread byte
  const uint8_t* block_ = nullptr;
  uint32_t blockSize_ = 0;
  uint32_t blockUsed_ = 0;
  bool pulled_ = false;        // the decoder took the next block's payload already
  uint16_t pulledProduced_ = 0;
  int32_t pullError_ = 0;
};

}  // namespace cab
