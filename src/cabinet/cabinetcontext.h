#pragma once
// The decoder context: the caller's callbacks, the error record, the read buffer and one
// decoder per method, kept from cabinet to cabinet so windows are allocated once.
#include <cstdint>

#include "cabinet/cabinet.h"
#include "cabinet/cabinetmemory.h"

namespace cab {

class MszipDecoder;
class LzxDecoder;
class QuantumDecoder;
class FrameDecoder;

struct Context {
  Callbacks callbacks;
  Memory memory;
  int cpuKind = kCpu80386;
  CabinetError* errorRecord = nullptr;
  Block<uint8_t> readBuffer;
  Block<uint8_t> spareFrame;  // a stored block's unread rest while the file table is read
  MszipDecoder* mszip = nullptr;
  LzxDecoder* lzx = nullptr;
  QuantumDecoder* quantum = nullptr;

  // Records `code` and returns false.
  bool Fail(int32_t code);
  // The decoder for a folder's compression type, made or remade as needed; nullptr for
  // stored data. `errorCode` tells why when a compressed method has none.
  FrameDecoder* DecoderFor(uint16_t compression, int32_t& errorCode);
};

}  // namespace cab
