#include "cabinet/folderstream.h"

#include <cstring>

#include "cabinet/checksum.h"
#include "cabinet/framedecoder.h"

namespace cab {

int32_t FolderStream::OpenFolder(uint16_t index) {
  using namespace format;
  folder_ = -1;
  uint32_t recordSize = kFolderSize + header_.folderReserve;
  uint8_t record[kFolderSize];
  if (!reader_.Seek(header_.foldersOffset + index * recordSize) || !reader_.Read(record, kFolderSize))
    return error::kCorruptCabinet;
  int32_t code = error::kNone;
  decoder_ = context_.DecoderFor(Le16(record + kFolderCompression), code);
  if (code != error::kNone) return code;
  if (decoder_) decoder_->Reset();
  nextBlockOffset_ = Le32(record + kFolderDataOffset);
  blocksLeft_ = Le16(record + kFolderBlockCount);
  position_ = 0;
  block_ = nullptr;
  blockSize_ = blockUsed_ = 0;
  pulled_ = false;
  folder_ = index;
  return error::kNone;
}

int32_t FolderStream::ReadDataBlock(const uint8_t*& payload, uint16_t& size, uint16_t& produced) {
  using namespace format;
  const bool lastFolder = folder_ + 1 == header_.info.folderCount;
  const int32_t exhausted = header_.info.hasNext && lastFolder ? kContinuesInNextCabinet : error::kCorruptCabinet;
  if (blocksLeft_ == 0) return exhausted;
  uint8_t fields[kDataSize];
  if (!reader_.Seek(nextBlockOffset_) || !reader_.Read(fields, kDataSize) || !reader_.Skip(header_.dataReserve))
    return error::kCorruptCabinet;
  const uint32_t checksum = Le32(fields + kDataChecksum);
  size = Le16(fields + kDataCompressedSize);
  produced = Le16(fields + kDataUncompressedSize);
  if (produced == 0) return exhausted;  // a block split across cabinets
  if (produced > kFrameSize) return error::kCorruptCabinet;
  payload = reader_.ReadBlock(size);
  if (!payload) return error::kCorruptCabinet;
  if (checksum != 0 &&
      CabinetChecksum(fields + kDataCompressedSize, 4, CabinetChecksum(payload, size, 0)) != checksum)
    return error::kCorruptCabinet;
  nextBlockOffset_ = reader_.Tell();
  --blocksLeft_;
  return error::kNone;
}

bool FolderStream::PullNextBlock(const uint8_t*& payload, uint32_t& size) {
  if (pulled_) return false;  // one block ahead at most
  uint16_t compressed = 0;
  pullError_ = ReadDataBlock(payload, compressed, pulledProduced_);
  if (pullError_ != error::kNone) return false;
  size = compressed;
  pulled_ = true;
  return true;
}

int32_t FolderStream::NextBlock() {
  const uint8_t* payload = nullptr;
  uint16_t size = 0, produced = 0;
  if (pulled_) {
    pulled_ = false;
    produced = pulledProduced_;
  } else if (int32_t code = ReadDataBlock(payload, size, produced)) {
    return code;
  }
  if (!decoder_) {
    if (size != produced) return error::kDecompressionData;
    block_ = payload;
  } else {
    pullError_ = error::kNone;
    block_ = decoder_->DecodeFrame(payload, size, produced, blocksLeft_ == 0, *this);
    if (!block_) return pullError_ != error::kNone ? pullError_ : error::kDecompressionData;
  }
  blockSize_ = produced;
  blockUsed_ = 0;
  return error::kNone;
}

int32_t FolderStream::SeekTo(uint16_t index, uint32_t offset) {
  if (folder_ != index || offset < position_) {
    if (int32_t code = OpenFolder(index)) return code;
  }
  while (position_ < offset) {
    if (blockUsed_ == blockSize_) {
      if (int32_t code = NextBlock()) return code;
    }
    uint64_t step = blockSize_ - blockUsed_;
    if (step > offset - position_) step = offset - position_;
    blockUsed_ += static_cast<uint32_t>(step);
    position_ += step;
  }
  return error::kNone;
}

int32_t FolderStream::Deliver(intptr_t handle, uint32_t count) {
  while (count > 0) {
    if (blockUsed_ == blockSize_) {
      if (int32_t code = NextBlock()) return code;
    }
    uint32_t step = blockSize_ - blockUsed_;
    if (step > count) step = count;
    if (context_.callbacks.write(handle, block_ + blockUsed_, step) != step) return error::kTargetFile;
    blockUsed_ += step;
    position_ += step;
    count -= step;
  }
  return error::kNone;
}

void FolderStream::KeepBlock() {
  if (decoder_ || blockUsed_ == blockSize_ || block_ == context_.spareFrame.get()) return;
  uint32_t rest = blockSize_ - blockUsed_;
  std::memmove(context_.spareFrame.get(), block_ + blockUsed_, rest);
  block_ = context_.spareFrame.get();
  blockSize_ = rest;
  blockUsed_ = 0;
}

}  // namespace cab
