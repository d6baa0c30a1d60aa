#pragma once
// The MS-CAB container layout: record sizes, field offsets and flags, read with explicit
// little-endian helpers.
#include <cstdint>

namespace cab::format {

constexpr uint32_t kHeaderSize = 36;
constexpr uint32_t kHeaderSignature = 0;      // "MSCF"
constexpr uint32_t kHeaderCabinetSize = 8;
constexpr uint32_t kHeaderFilesOffset = 16;
constexpr uint32_t kHeaderVersionMinor = 24;
constexpr uint32_t kHeaderVersionMajor = 25;
constexpr uint32_t kHeaderFolderCount = 26;
constexpr uint32_t kHeaderFileCount = 28;
constexpr uint32_t kHeaderFlags = 30;
constexpr uint32_t kHeaderSetId = 32;
constexpr uint32_t kHeaderSetIndex = 34;

constexpr uint16_t kFlagPrevious = 0x0001;
constexpr uint16_t kFlagNext = 0x0002;
constexpr uint16_t kFlagReserve = 0x0004;

constexpr uint32_t kReserveFieldsSize = 4;  // header reserve (2), folder reserve (1), data reserve (1)
constexpr uint32_t kMaxHeaderReserve = 60000;

constexpr uint32_t kFolderSize = 8;
constexpr uint32_t kFolderDataOffset = 0;
constexpr uint32_t kFolderBlockCount = 4;
constexpr uint32_t kFolderCompression = 6;

constexpr uint32_t kFileSize = 16;
constexpr uint32_t kFileLength = 0;
constexpr uint32_t kFileFolderOffset = 4;
constexpr uint32_t kFileFolder = 8;
constexpr uint32_t kFileDate = 10;
constexpr uint32_t kFileTime = 12;
constexpr uint32_t kFileAttributes = 14;
constexpr uint16_t kFolderContinuedFromPrevious = 0xFFFD;
constexpr uint16_t kFolderContinuedToNext = 0xFFFE;
constexpr uint16_t kFolderContinuedBoth = 0xFFFF;
constexpr uint16_t kAttributeRunAfterExtract = 0x40;

constexpr uint32_t kDataSize = 8;
constexpr uint32_t kDataChecksum = 0;
constexpr uint32_t kDataCompressedSize = 4;
constexpr uint32_t kDataUncompressedSize = 6;

constexpr uint32_t kMaxName = 256;  // a name with its terminating NUL

constexpr uint16_t kMethodMask = 0x000F;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodMszip = 1;
constexpr uint16_t kMethodQuantum = 2;
constexpr uint16_t kMethodLzx = 3;
constexpr uint16_t kMethodNone = 15;
inline unsigned WindowBits(uint16_t compression) { return (compression >> 8) & 0x1F; }

inline uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t Le32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace cab::format
