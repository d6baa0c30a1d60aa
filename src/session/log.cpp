// The log writer: one "Plandrix.log" per process, opened on the first line and truncated
// then, so a run never appends to an earlier run's log.
#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "session/log.h"
#include "session/logfolder.h"
#include "session/pathtext.h"
#include "sys/files.h"
#include "sys/os.h"

namespace {

constexpr std::size_t kLineCapacity = 1000;  // 999 bytes of text and the NUL
constexpr const char* kLogName = "Plandrix.log";

struct LogState {
  std::mutex mutex;
  sys::Files* files = nullptr;  // the implementation the handle belongs to
  sys::FileHandle handle;
};

LogState& State() {
  static LogState state;
  return state;
}

// Opens the log when it is not open. Called with the mutex held. A failed creation
// leaves it closed, so the next line tries again (the "usr" folder may appear later).
bool EnsureOpen(LogState& state) {
  sys::Files* files = sys::os().files;
  if (files == nullptr) return false;
  if (state.handle && state.files == files) return true;
  state.handle = {};  // a handle of a replaced implementation is not ours to close
  std::string path = sys::JoinPath(ChooseLogFolder(), kLogName);
  auto opened = files->Open(path, sys::FileAccess::ReadWrite, sys::share::kRead, sys::Disposition::CreateAlways);
  if (!opened.ok()) return false;
  state.files = files;
  state.handle = opened.value;
  return true;
}

}  // namespace

void WriteLog(const char* format, ...) {
  char line[kLineCapacity + 2];
  va_list values;
  va_start(values, format);
  int written = std::vsnprintf(line, kLineCapacity, format, values);
  va_end(values);
  if (written < 0) return;
  // vsnprintf cuts a longer line at the buffer, so the text is at most 999 bytes.
  std::size_t length = static_cast<std::size_t>(written) < kLineCapacity ? static_cast<std::size_t>(written)
                                                                         : kLineCapacity - 1;
  line[length] = '\r';
  line[length + 1] = '\n';

  LogState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (!EnsureOpen(state)) return;
  // One write per line under the lock: lines of the two threads never interleave.
  state.files->Write(state.handle, line, static_cast<uint32_t>(length + 2));
}

void CloseLog() {
  LogState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.handle && state.files != nullptr && state.files == sys::os().files) state.files->Close(state.handle);
  state.handle = {};
  state.files = nullptr;
}
