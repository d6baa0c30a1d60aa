// CabinetExtract over a cabinet held in memory: whatever the bytes, the decoder must end
// with true or false, inside its buffers and in bounded time. One context serves every
// input, as in the product.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "cabinet/cabinet.h"

namespace {

constexpr intptr_t kCabinetHandle = 3;
constexpr intptr_t kSinkHandle = 4;

const uint8_t* input = nullptr;
size_t inputSize = 0;
size_t position = 0;

void* Alloc(uint32_t size) { return std::malloc(size); }
void Free(void* block) { std::free(block); }
intptr_t Open(const char*, int, int) {
  position = 0;
  return kCabinetHandle;
}
uint32_t Read(intptr_t handle, void* buffer, uint32_t count) {
  if (handle != kCabinetHandle) return UINT32_MAX;
  size_t n = std::min<size_t>(count, position >= inputSize ? 0 : inputSize - position);
  if (n) std::memcpy(buffer, input + position, n);
  position += n;
  return static_cast<uint32_t>(n);
}
uint32_t Write(intptr_t handle, const void* buffer, uint32_t count) {
  if (handle != kSinkHandle) return UINT32_MAX;
  // Touch the bytes so that reads of uninitialised or freed memory show up.
  const volatile uint8_t* bytes = static_cast<const uint8_t*>(buffer);
  if (count) (void)bytes[0], (void)bytes[count - 1];
  return count;
}
int Close(intptr_t) { return 0; }
int32_t Seek(intptr_t handle, int32_t offset, int origin) {
  int64_t base = origin == cab::kSeekSet ? 0 : origin == cab::kSeekCurrent ? static_cast<int64_t>(position)
                                                                           : static_cast<int64_t>(inputSize);
  if (handle != kCabinetHandle || base + offset < 0) return -1;
  position = static_cast<size_t>(base + offset);
  return static_cast<int32_t>(position);
}

intptr_t Handler(int kind, cab::Notification*) {
  if (kind == cab::notify::kCopyFile) return kSinkHandle;
  if (kind == cab::notify::kCloseFile) return 1;
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static cab::CabinetError error;
  static cab::Context* context =
      cab::CabinetContextCreate(cab::Callbacks{Alloc, Free, Open, Read, Write, Close, Seek}, cab::kCpu80386, &error);
  if (!context) std::abort();
  input = data;
  inputSize = size;
  bool ok = cab::CabinetExtract(context, "fuzz.cab", "memory\\", 0, Handler, nullptr, nullptr);
  if (!ok && (error.code < 1 || error.code > 11)) std::abort();  // failures carry a published code
  return 0;
}
