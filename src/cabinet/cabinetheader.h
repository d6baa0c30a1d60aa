#pragma once
// The cabinet header with its optional reserve sizes and set names, as read from the
// start of a cabinet.
#include <cstdint>

#include "cabinet/cabinet.h"
#include "cabinet/cabinetformat.h"

namespace cab {

class CabinetReader;

struct CabinetHeader {
  CabinetInfo info;
  uint32_t filesOffset = 0;
  uint16_t flags = 0;
  uint32_t folderReserve = 0;
  uint32_t dataReserve = 0;
  uint32_t foldersOffset = 0;  // where the folder records start
  char previousCabinet[format::kMaxName] = {};
  char previousDisk[format::kMaxName] = {};
  char nextCabinet[format::kMaxName] = {};
  char nextDisk[format::kMaxName] = {};
};

// Checks the fixed 36 bytes: signature (else error 2) and version 1.3 (else error 3).
int32_t ParseFixedHeader(const uint8_t* bytes, CabinetInfo& info, CabinetHeader* header);

// Reads the whole header from the reader's current position (the cabinet's start).
// Returns an error code, or error::kNone.
int32_t ReadCabinetHeader(CabinetReader& reader, CabinetHeader& header);

}  // namespace cab
