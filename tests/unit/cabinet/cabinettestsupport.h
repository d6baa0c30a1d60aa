#pragma once
// Helpers for the decoder tests: extraction of every file into memory through the real
// callback interface, cabinets held in memory, SHA-256 text and the corpus manifest.
#include <cstdint>
#include <string>
#include <vector>

#include "cabinet/cabinet.h"

namespace cabtest {

struct ExtractedFile {
  std::string name;
  std::string bytes;
};

struct Extraction {
  bool ok = false;
  int32_t error = 0;
  std::vector<ExtractedFile> files;  // the files the decoder delivered and closed
  int copyNotifications = 0;
};

// Extracts a cabinet file from disk with a shared context.
Extraction ExtractFile(const std::string& path);
// Extracts a cabinet held in memory (served by in-memory callbacks).
Extraction ExtractBytes(const std::string& cabinet);
// The same with another notification handler; it may pass kinds on to CollectingHandler,
// the one the others use (every file into memory).
Extraction ExtractBytesWith(const std::string& cabinet, cab::NotifyFn handler);
intptr_t CollectingHandler(int kind, cab::Notification* record);
// The in-memory callbacks (plain malloc/free); `cabinet` is what "memory:cabinet" opens.
cab::Callbacks MemoryCallbacks(const std::string* cabinet);

std::string Sha256Hex(const std::string& bytes);
std::string ReadWholeFile(const std::string& path);
std::string CorpusDir();

struct ManifestRow {
  std::string path, origin, methods, files, verdict, messages;
  struct File {
    std::string name;
    uint64_t size;
    std::string sha256;
  };
  std::vector<File> extracted;
};
std::vector<ManifestRow> LoadManifest();

// A cabinet built in the test: one folder with the given method word and data blocks.
struct TestBlock {
  std::string payload;
  uint16_t uncompressedSize;
};
std::string BuildCabinet(uint16_t compression, const std::vector<TestBlock>& blocks, uint32_t fileSize,
                         const std::string& name = "file.bin");

}  // namespace cabtest
