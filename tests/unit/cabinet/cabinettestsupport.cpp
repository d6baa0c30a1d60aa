#include "cabinettestsupport.h"

#include <fcntl.h>
#include <openssl/sha.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

namespace cabtest {
namespace {

constexpr intptr_t kFirstSink = 1 << 20;
constexpr intptr_t kMemoryCabinet = kFirstSink - 1;

struct State {
  std::map<intptr_t, std::string> sinks;
  std::map<intptr_t, std::string> sinkNames;
  Extraction* current = nullptr;
  intptr_t nextSink = kFirstSink;
  const std::string* memoryCabinet = nullptr;
  size_t memoryPosition = 0;
};
State state;

void* Alloc(uint32_t size) { return std::malloc(size); }
void Free(void* block) { std::free(block); }
intptr_t Open(const char* path, int, int) {
  if (std::strcmp(path, "memory:cabinet") == 0) {
    state.memoryPosition = 0;
    return kMemoryCabinet;
  }
  int fd = ::open(path, O_RDONLY);
  return fd < 0 ? -1 : fd;
}
uint32_t Read(intptr_t handle, void* buffer, uint32_t count) {
  if (handle == kMemoryCabinet) {
    const std::string& cab = *state.memoryCabinet;
    size_t n = state.memoryPosition >= cab.size() ? 0 : std::min<size_t>(count, cab.size() - state.memoryPosition);
    std::memcpy(buffer, cab.data() + state.memoryPosition, n);
    state.memoryPosition += n;
    return static_cast<uint32_t>(n);
  }
  ssize_t got = ::read(static_cast<int>(handle), buffer, count);
  return got < 0 ? UINT32_MAX : static_cast<uint32_t>(got);
}
uint32_t Write(intptr_t handle, const void* buffer, uint32_t count) {
  auto it = state.sinks.find(handle);
  if (it == state.sinks.end()) return UINT32_MAX;
  it->second.append(static_cast<const char*>(buffer), count);
  return count;
}
int Close(intptr_t handle) {
  if (handle == kMemoryCabinet) return 0;
  if (handle >= kFirstSink) return state.sinks.erase(handle) ? 0 : -1;
  return ::close(static_cast<int>(handle));
}
int32_t Seek(intptr_t handle, int32_t offset, int origin) {
  if (handle == kMemoryCabinet) {
    size_t base = origin == cab::kSeekSet ? 0 : origin == cab::kSeekCurrent ? state.memoryPosition : state.memoryCabinet->size();
    if (static_cast<int64_t>(base) + offset < 0) return -1;
    state.memoryPosition = base + offset;
    return static_cast<int32_t>(state.memoryPosition);
  }
  return static_cast<int32_t>(::lseek(static_cast<int>(handle), offset, origin));
}

}  // namespace

intptr_t CollectingHandler(int kind, cab::Notification* record) {
  static Extraction unclaimed;  // for extractions a test runs on its own context
  if (!state.current) state.current = &unclaimed;
  if (kind == cab::notify::kCopyFile) {
    ++state.current->copyNotifications;
    intptr_t handle = state.nextSink++;
    state.sinks[handle];
    state.sinkNames[handle] = record->text1;
    return handle;
  }
  if (kind == cab::notify::kCloseFile) {
    auto it = state.sinks.find(record->handle);
    if (it == state.sinks.end()) return 0;
    state.current->files.push_back({state.sinkNames[record->handle], std::move(it->second)});
    state.sinks.erase(it);
    return 1;
  }
  return 0;
}

namespace {

cab::Context* SharedContext(cab::CabinetError& error) {
  static cab::CabinetError* record = &error;
  static cab::Context* context = [] {
    cab::Callbacks callbacks{Alloc, Free, Open, Read, Write, Close, Seek};
    return cab::CabinetContextCreate(callbacks, cab::kCpu80386, record);
  }();
  return context;
}

Extraction Run(const std::string& folder, const std::string& name, cab::NotifyFn handler = CollectingHandler) {
  static cab::CabinetError error;
  Extraction result;
  state.current = &result;
  cab::Context* context = SharedContext(error);
  result.ok = cab::CabinetExtract(context, name.c_str(), folder.c_str(), 0, handler, nullptr, nullptr);
  result.error = error.code;
  state.current = nullptr;
  state.sinks.clear();
  return result;
}

void PutLe16(std::string& s, uint16_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>(v >> 8));
}
void PutLe32(std::string& s, uint32_t v) {
  PutLe16(s, static_cast<uint16_t>(v));
  PutLe16(s, static_cast<uint16_t>(v >> 16));
}

}  // namespace

Extraction ExtractFile(const std::string& path) {
  size_t slash = path.rfind('/');
  return Run(path.substr(0, slash + 1), path.substr(slash + 1));
}

Extraction ExtractBytes(const std::string& cabinet) { return ExtractBytesWith(cabinet, CollectingHandler); }

Extraction ExtractBytesWith(const std::string& cabinet, cab::NotifyFn handler) {
  state.memoryCabinet = &cabinet;
  Extraction result = Run("memory:", "cabinet", handler);
  state.memoryCabinet = nullptr;
  return result;
}

cab::Callbacks MemoryCallbacks(const std::string* cabinet) {
  state.memoryCabinet = cabinet;
  return cab::Callbacks{Alloc, Free, Open, Read, Write, Close, Seek};
}

std::string Sha256Hex(const std::string& bytes) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
  std::string hex;
  char two[3];
  for (unsigned char b : digest) {
    std::snprintf(two, sizeof two, "%02x", b);
    hex += two;
  }
  return hex;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::string CorpusDir() { return std::string(PLANDRIX_SHARED_DIR) + "/testdata/cabinets/"; }

std::vector<ManifestRow> LoadManifest() {
  std::vector<ManifestRow> rows;
  std::ifstream in(CorpusDir() + "MANIFEST.tsv");
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::vector<std::string> cells;
    std::stringstream split(line);
    std::string cell;
    while (std::getline(split, cell, '\t')) cells.push_back(cell);
    if (cells.size() < 7) continue;
    ManifestRow row{cells[0], cells[1], cells[2], cells[3], cells[4], cells[6], {}};
    if (cells[5] != "-") {
      std::vector<std::string> parts;
      std::stringstream fields(cells[5]);
      while (std::getline(fields, cell, ';')) parts.push_back(cell);
      for (size_t i = 0; i + 2 < parts.size(); i += 3)
        row.extracted.push_back({parts[i], std::stoull(parts[i + 1]), parts[i + 2]});
    }
    rows.push_back(row);
  }
  return rows;
}

std::string BuildCabinet(uint16_t compression, const std::vector<TestBlock>& blocks, uint32_t fileSize,
                         const std::string& name) {
  const uint32_t headerSize = 36, folderSize = 8;
  const uint32_t fileRecordSize = 16 + static_cast<uint32_t>(name.size()) + 1;
  const uint32_t dataStart = headerSize + folderSize + fileRecordSize;
  std::string data;
  for (const TestBlock& block : blocks) {
    PutLe32(data, 0);  // no checksum
    PutLe16(data, static_cast<uint16_t>(block.payload.size()));
    PutLe16(data, block.uncompressedSize);
    data += block.payload;
  }
  std::string cab = "MSCF";
  PutLe32(cab, 0);
  PutLe32(cab, dataStart + static_cast<uint32_t>(data.size()));
  PutLe32(cab, 0);
  PutLe32(cab, headerSize + folderSize);
  PutLe32(cab, 0);
  cab.push_back(3);
  cab.push_back(1);
  PutLe16(cab, 1);  // folders
  PutLe16(cab, 1);  // files
  PutLe16(cab, 0);  // flags
  PutLe16(cab, 0x1234);
  PutLe16(cab, 0);
  PutLe32(cab, dataStart);
  PutLe16(cab, static_cast<uint16_t>(blocks.size()));
  PutLe16(cab, compression);
  PutLe32(cab, fileSize);
  PutLe32(cab, 0);
  PutLe16(cab, 0);
  PutLe16(cab, 0x5821);
  PutLe16(cab, 0x1800);
  PutLe16(cab, 0x20);
  cab += name;
  cab.push_back('\0');
  return cab + data;
}

}  // namespace cabtest
