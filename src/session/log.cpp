// The log writer: one "Plandrix.log" per process, truncated when it is first opened, so a
// run never appends to an earlier run's log; a reopening after CloseLog (the restart
// request fails after the clean-up) appends to this run's lines.
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
  bool started = false;  // this run's log has been created (truncated) already
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
  bool firstOpening = !state.started;
  sys::Disposition disposition = firstOpening ? sys::Disposition::CreateAlways : sys::Disposition::OpenAlways;
  auto opened = files->Open(path, sys::FileAccess::ReadWrite, sys::share::kRead, disposition);
  // Another run writes its log in this installation (and holds its lock): this run's
  // lines go beside the user's documents rather than nowhere.
  if (opened.error == sys::err::kSharingViolation)
    opened = files->Open(sys::JoinPath(LogFolderOutsideInstallation(), kLogName), sys::FileAccess::ReadWrite,
                         sys::share::kRead, disposition);
  if (!opened.ok()) return false;
  if (!firstOpening) files->Seek(opened.value, 0, sys::SeekFrom::End);
  state.files = files;
  state.handle = opened.value;
  state.started = true;
  return true;
}

void CloseLocked(LogState& state) {
  if (state.handle && state.files != nullptr && state.files == sys::os().files) state.files->Close(state.handle);
  state.handle = {};
  state.files = nullptr;
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
  CloseLocked(state);
}

void StartNewLog() {
  LogState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  CloseLocked(state);
  state.started = false;
}

namespace {

std::string ReadWholeFile(sys::Files& files, const std::string& path) {
  std::string text;
  auto opened = files.OpenOwned(path, sys::FileAccess::Read, sys::share::kRead | sys::share::kWrite,
                                sys::Disposition::OpenExisting);
  if (!opened.ok()) return text;
  char chunk[64 * 1024];
  for (;;) {
    sys::Result<uint32_t> read = files.Read(opened.value.get(), chunk, sizeof chunk);
    if (!read.ok() || read.value == 0) break;
    text.append(chunk, read.value);
  }
  return text;
}

}  // namespace

void KeepLogThrough(const std::function<void()>& removal) {
  sys::Files* files = sys::os().files;
  std::string path = sys::JoinPath(ChooseLogFolder(), kLogName);
  CloseLog();
  std::string lines = files != nullptr ? ReadWholeFile(*files, path) : std::string();
  removal();
  if (files == nullptr || lines.empty() || files->GetAttributes(path).ok()) return;
  std::string folder = sys::SplitAtLastBackslash(path).folder;
  files->CreateDirectory(sys::SplitAtLastBackslash(folder).folder);
  files->CreateDirectory(folder);
  auto written = files->OpenOwned(path, sys::FileAccess::Write, sys::share::kRead, sys::Disposition::CreateAlways);
  if (written.ok()) files->Write(written.value.get(), lines.data(), static_cast<uint32_t>(lines.size()));
}
