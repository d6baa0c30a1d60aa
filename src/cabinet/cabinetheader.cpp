#include "cabinet/cabinetheader.h"

#include <cstring>

#include "cabinet/cabinetreader.h"

namespace cab {

int32_t ParseFixedHeader(const uint8_t* bytes, CabinetInfo& info, CabinetHeader* header) {
  using namespace format;
  if (std::memcmp(bytes + kHeaderSignature, "MSCF", 4) != 0) return error::kNotACabinet;
  if (bytes[kHeaderVersionMajor] != 1 || bytes[kHeaderVersionMinor] != 3) return error::kUnknownVersion;
  uint16_t flags = Le16(bytes + kHeaderFlags);
  info.cabinetLength = static_cast<int32_t>(Le32(bytes + kHeaderCabinetSize));
  info.folderCount = Le16(bytes + kHeaderFolderCount);
  info.fileCount = Le16(bytes + kHeaderFileCount);
  info.setId = Le16(bytes + kHeaderSetId);
  info.setIndex = Le16(bytes + kHeaderSetIndex);
  info.hasReserve = (flags & kFlagReserve) != 0;
  info.hasPrevious = (flags & kFlagPrevious) != 0;
  info.hasNext = (flags & kFlagNext) != 0;
  if (header) {
    header->flags = flags;
    header->filesOffset = Le32(bytes + kHeaderFilesOffset);
  }
  return error::kNone;
}

int32_t ReadCabinetHeader(CabinetReader& reader, CabinetHeader& header) {
  using namespace format;
  uint8_t fixed[kHeaderSize];
  if (!reader.Read(fixed, kHeaderSize)) return error::kNotACabinet;
  if (int32_t code = ParseFixedHeader(fixed, header.info, &header)) return code;
  if (header.info.hasReserve) {
    uint8_t sizes[kReserveFieldsSize];
    if (!reader.Read(sizes, kReserveFieldsSize)) return error::kCorruptCabinet;
    uint32_t headerReserve = Le16(sizes);
    header.folderReserve = sizes[2];
    header.dataReserve = sizes[3];
    if (headerReserve > kMaxHeaderReserve) return error::kReserveMismatch;
    if (!reader.Skip(headerReserve)) return error::kCorruptCabinet;
  }
  if (header.info.hasPrevious &&
      (!reader.ReadText(header.previousCabinet, kMaxName) || !reader.ReadText(header.previousDisk, kMaxName)))
    return error::kCorruptCabinet;
  if (header.info.hasNext && (!reader.ReadText(header.nextCabinet, kMaxName) || !reader.ReadText(header.nextDisk, kMaxName)))
    return error::kCorruptCabinet;
  header.foldersOffset = reader.Tell();
  if (header.info.folderCount == 0 || header.info.fileCount == 0) return error::kCorruptCabinet;
  return error::kNone;
}

}  // namespace cab
