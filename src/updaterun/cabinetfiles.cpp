#include "updaterun/cabinetfiles.h"

#include <cstdlib>

#include "sys/files.h"
#include "sys/os.h"

namespace cabinetfiles {
namespace {

constexpr uint32_t kFailed = static_cast<uint32_t>(-1);

sys::Files& Fs() { return *sys::os().files; }
sys::FileHandle HandleOf(intptr_t handle) { return sys::FileHandle{static_cast<uint64_t>(handle)}; }

sys::Disposition DispositionOf(int flags) {
  bool create = (flags & cab::openflag::kCreate) != 0;
  bool truncate = (flags & cab::openflag::kTruncate) != 0;
  if (create) return truncate ? sys::Disposition::CreateAlways : sys::Disposition::OpenAlways;
  return truncate ? sys::Disposition::TruncateExisting : sys::Disposition::OpenExisting;
}

void* Allocate(uint32_t size) { return std::malloc(size); }
void Free(void* block) { std::free(block); }

}  // namespace

intptr_t Open(const char* path, int flags, int mode) {
  (void)mode;  // the system's files carry no permission bits
  sys::FileAccess access = (flags & cab::openflag::kWriteOnly) ? sys::FileAccess::Write : sys::FileAccess::Read;
  sys::Result<sys::FileHandle> file = Fs().Open(path, access, sys::share::kRead | sys::share::kWrite, DispositionOf(flags));
  return file.ok() ? static_cast<intptr_t>(file.value.id) : -1;
}

uint32_t Read(intptr_t handle, void* buffer, uint32_t count) {
  sys::Result<uint32_t> got = Fs().Read(HandleOf(handle), buffer, count);
  return got.ok() ? got.value : kFailed;
}

uint32_t Write(intptr_t handle, const void* buffer, uint32_t count) {
  sys::Result<uint32_t> written = Fs().Write(HandleOf(handle), buffer, count);
  return written.ok() ? written.value : kFailed;
}

int Close(intptr_t handle) { return Fs().Close(HandleOf(handle)) == sys::err::kSuccess ? 0 : -1; }

int32_t Seek(intptr_t handle, int32_t offset, int origin) {
  sys::Result<uint64_t> position = Fs().Seek(HandleOf(handle), offset, static_cast<sys::SeekFrom>(origin));
  return position.ok() ? static_cast<int32_t>(position.value) : -1;
}

cab::Callbacks Callbacks() { return cab::Callbacks{Allocate, Free, Open, Read, Write, Close, Seek}; }

}  // namespace cabinetfiles
