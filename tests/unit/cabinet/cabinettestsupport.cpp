#include "cabinettestsupport.h"

#include <cstdlib>
#include <cstring>
#include <map>

#include "cabinet/checksum.h"

namespace cabtest {
namespace {

constexpr intptr_t kMemoryCabinet = 7, kFirstSink = 1 << 20;

struct State {
  const std::string* cabinet = nullptr;
  size_t position = 0;
  std::map<intptr_t, ExtractedFile> sinks;
  intptr_t nextSink = kFirstSink;
  Extraction* current = nullptr;
} state;

intptr_t Open(const char* path, int, int) {
  state.position = 0;
  return std::strcmp(path, "memory:cabinet") == 0 && state.cabinet ? kMemoryCabinet : -1;
}
uint32_t Read(intptr_t, void* buffer, uint32_t count) {
  size_t n = std::min<size_t>(count, state.cabinet->size() - std::min(state.position, state.cabinet->size()));
  std::memcpy(buffer, state.cabinet->data() + state.position, n);
  state.position += n;
  return static_cast<uint32_t>(n);
}
uint32_t Write(intptr_t handle, const void* buffer, uint32_t count) {
  auto sink = state.sinks.find(handle);
  if (sink == state.sinks.end()) return UINT32_MAX;
  sink->second.bytes.append(static_cast<const char*>(buffer), count);
  return count;
}
int Close(intptr_t handle) { return handle == kMemoryCabinet || state.sinks.erase(handle) ? 0 : -1; }
int32_t Seek(intptr_t, int32_t offset, int origin) {
  size_t base = origin == cab::kSeekSet ? 0 : origin == cab::kSeekCurrent ? state.position : state.cabinet->size();
  if (static_cast<int64_t>(base) + offset < 0) return -1;
  state.position = base + offset;
  return static_cast<int32_t>(state.position);
}

void PutLe(std::string& s, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>(v >> 8 * i & 0xFF));
}

}  // namespace

intptr_t CollectingHandler(int kind, cab::Notification* record) {
  if (kind == cab::notify::kCopyFile) {
    state.sinks[state.nextSink].name = record->text1;
    return state.nextSink++;
  }
  auto sink = state.sinks.find(record->handle);
  if (kind != cab::notify::kCloseFile || sink == state.sinks.end()) return 0;
  if (state.current) state.current->files.push_back(std::move(sink->second));
  state.sinks.erase(sink);
  return 1;
}

cab::Callbacks MemoryCallbacks(const std::string* cabinet) {
  state.cabinet = cabinet;
  return cab::Callbacks{[](uint32_t size) { return std::malloc(size); }, std::free, Open, Read, Write, Close, Seek};
}

Extraction Extract(const std::string& cabinet, cab::NotifyFn handler) {
  static cab::CabinetError error;
  static cab::Context* context = cab::CabinetContextCreate(MemoryCallbacks(&cabinet), cab::kCpu80386, &error);
  Extraction result;
  state.cabinet = &cabinet;
  state.current = &result;
  result.ok = cab::CabinetExtract(context, "cabinet", "memory:", 0, handler, nullptr, nullptr);
  result.error = error.code;
  state = State{.nextSink = state.nextSink};
  return result;
}

std::string BuildCabinet(const CabinetLayout& layout) {
  const uint32_t folder = 36 + static_cast<uint32_t>(layout.afterHeader.size()), file = folder + 8;
  const uint32_t dataStart = file + 16 + 9;  // the file record with "file.bin"
  std::string data;
  for (const TestBlock& block : layout.blocks) {
    std::string sizes;
    PutLe(sizes, static_cast<uint32_t>(block.payload.size()) | uint32_t{block.uncompressedSize} << 16, 4);
    const auto* payload = reinterpret_cast<const uint8_t*>(block.payload.data());
    uint32_t sum = cab::CabinetChecksum(payload, block.payload.size(), 0);
    PutLe(data, layout.checksums ? cab::CabinetChecksum(reinterpret_cast<const uint8_t*>(sizes.data()), 4, sum) : 0, 4);
    data += sizes + block.payload;
  }
  std::string cab = "MSCF";
  for (uint32_t field : {0u, dataStart + static_cast<uint32_t>(data.size()), 0u, file, 0u}) PutLe(cab, field, 4);
  cab += "\x03\x01";
  for (uint32_t field : {1u, 1u, uint32_t{layout.flags}, 0x1234u, 0u}) PutLe(cab, field, 2);  // folders, files, flags, set
  cab += layout.afterHeader;
  PutLe(cab, dataStart, 4);
  PutLe(cab, static_cast<uint32_t>(layout.blocks.size()) | uint32_t{layout.compression} << 16, 4);
  PutLe(cab, layout.fileSize, 4);
  PutLe(cab, 0, 4);  // offset in the folder
  for (uint32_t field : {uint32_t{layout.fileFolder}, 0x5821u, 0x1800u, 0x20u}) PutLe(cab, field, 2);
  return cab + "file.bin" + '\0' + data;
}

std::string BuildCabinet(uint16_t compression, const std::vector<TestBlock>& blocks, uint32_t fileSize) {
  return BuildCabinet(CabinetLayout{.compression = compression, .blocks = blocks, .fileSize = fileSize});
}

std::string Noise(size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
  return bytes;
}

}  // namespace cabtest
