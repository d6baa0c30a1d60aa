#pragma once
// Helpers for the decoder tests: cabinets built in memory and extracted, every file into
// memory, through the real callback interface with one context shared by all tests.
#include <cstdint>
#include <string>
#include <vector>

#include "cabinet/cabinet.h"

namespace cabtest {

struct ExtractedFile {
  std::string name, bytes;
};
struct Extraction {
  bool ok = false;
  int32_t error = 0;
  std::vector<ExtractedFile> files;  // the files the decoder delivered and closed
};
// The handler that collects every file; other handlers may pass kinds on to it.
intptr_t CollectingHandler(int kind, cab::Notification* record);
Extraction Extract(const std::string& cabinet, cab::NotifyFn handler = CollectingHandler);
// The in-memory callbacks (plain malloc/free): "memory:cabinet" opens `cabinet`.
cab::Callbacks MemoryCallbacks(const std::string* cabinet);

constexpr size_t kFrame = 32768;  // the output of a data block, but the last one of a folder
// A cabinet of one folder holding one file "file.bin" over the given data blocks.
struct TestBlock {
  std::string payload;
  uint16_t uncompressedSize;
};
struct CabinetLayout {
  uint16_t compression = 0;
  std::vector<TestBlock> blocks;
  uint32_t fileSize = 0;
  uint16_t flags = 0;       // header flags
  std::string afterHeader;  // what the flags announce: reserve sizes, names of the set
  uint16_t fileFolder = 0;
  bool checksums = false;
};
std::string BuildCabinet(const CabinetLayout& layout);
std::string BuildCabinet(uint16_t compression, const std::vector<TestBlock>& blocks, uint32_t fileSize);
std::string Noise(size_t size, unsigned seed);

}  // namespace cabtest
