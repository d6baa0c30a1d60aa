#include "updaterun/expandcabinet.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "session/log.h"
#include "session/textids.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/os.h"
#include "session/progressstate.h"

namespace {

constexpr size_t kMaxShortPath = 512;
// The runtime's permission bits for a file that may be read and written.
constexpr int kPermissionRead = 0x0100;
constexpr int kPermissionWrite = 0x0080;

cab::Context* context = nullptr;
cab::CabinetError errorRecord;
int filesCopied = 0;  // copy notifications of the running expansion

void* AllocateMemory(uint32_t size) { return std::malloc(size); }
void FreeMemory(void* block) { std::free(block); }

#ifdef _WIN32
// On Windows the decoder's flag and permission values are the runtime's own.
intptr_t OpenFile(const char* path, int flags, int mode) { return _open(path, flags, mode); }
uint32_t ReadFile(intptr_t handle, void* buffer, uint32_t count) {
  return static_cast<uint32_t>(_read(static_cast<int>(handle), buffer, count));
}
uint32_t WriteFile(intptr_t handle, const void* buffer, uint32_t count) {
  return static_cast<uint32_t>(_write(static_cast<int>(handle), buffer, count));
}
int CloseFile(intptr_t handle) { return _close(static_cast<int>(handle)); }
int32_t SeekFile(intptr_t handle, int32_t offset, int origin) {
  return _lseek(static_cast<int>(handle), offset, origin);
}
#else
int PosixFlags(int flags) {
  int posix = (flags & cab::openflag::kWriteOnly) ? O_WRONLY : O_RDONLY;
  if (flags & cab::openflag::kCreate) posix |= O_CREAT;
  if (flags & cab::openflag::kTruncate) posix |= O_TRUNC;
  return posix | O_CLOEXEC;
}
mode_t PosixMode(int mode) {
  mode_t posix = 0;
  if (mode & kPermissionRead) posix |= S_IRUSR | S_IRGRP | S_IROTH;
  if (mode & kPermissionWrite) posix |= S_IWUSR | S_IWGRP | S_IWOTH;
  return posix;
}
intptr_t OpenFile(const char* path, int flags, int mode) { return ::open(path, PosixFlags(flags), PosixMode(mode)); }
uint32_t ReadFile(intptr_t handle, void* buffer, uint32_t count) {
  return static_cast<uint32_t>(::read(static_cast<int>(handle), buffer, count));
}
uint32_t WriteFile(intptr_t handle, const void* buffer, uint32_t count) {
  return static_cast<uint32_t>(::write(static_cast<int>(handle), buffer, count));
}
int CloseFile(intptr_t handle) { return ::close(static_cast<int>(handle)); }
int32_t SeekFile(intptr_t handle, int32_t offset, int origin) {
  return static_cast<int32_t>(::lseek(static_cast<int>(handle), offset, origin));
}
#endif

std::string ShortForm(const std::string& path) {
  sys::Files* files = sys::os().files;
  if (!files) return path;
  sys::Result<std::string> shortPath = files->GetShortPath(path);
  if (!shortPath.ok() || shortPath.value.empty() || shortPath.value.size() > kMaxShortPath) return path;
  return shortPath.value;
}

size_t LastSeparator(const std::string& path) {
#ifdef _WIN32
  return path.rfind('\\');
#else
  return path.find_last_of("\\/");  // natively the same code also takes POSIX paths
#endif
}

void ShowMessage(const std::string& text) {
  LoggedMessageBox(ProgressWindow(), text, Session().captionText.c_str(), mb::kOk, sys::answer::kOk);
}

}  // namespace

bool ExpandCabinet(const std::string& cabinetPath, const std::string& outputPath) {
  filesCopied = 0;
  std::string path = ShortForm(cabinetPath);
  size_t split = LastSeparator(path);
  if (split == std::string::npos) {
    std::string text;
    AppendFormat(text, "%s: %s", LoadText(text::kInvalidCabinetPath).c_str(), path.c_str());
    ShowMessage(text);
    return false;
  }
  std::string folder = path.substr(0, split + 1);
  std::string name = path.substr(split + 1);

  if (!context) {
    cab::Callbacks callbacks{AllocateMemory, FreeMemory, OpenFile, ReadFile, WriteFile, CloseFile, SeekFile};
    context = cab::CabinetContextCreate(callbacks, cab::kCpu80386, &errorRecord);
    if (!context) {
      ShowMessage(LoadText(text::kCabinetContextFailed));
      return false;
    }
  }
  return cab::CabinetExtract(context, name.c_str(), folder.c_str(), 0, CabinetNotify, nullptr,
                             const_cast<char*>(outputPath.c_str()));
}

intptr_t CabinetNotify(int kind, cab::Notification* record) {
  switch (kind) {
    case cab::notify::kCopyFile: {
      const char* output = static_cast<const char*>(record->user);
      if (++filesCopied > 1) {
        WriteLog("Cabinet holds more than one file; refused at '%s' for '%s'", record->text1, output);
        return -1;
      }
      return OpenFile(output, cab::openflag::kBinary | cab::openflag::kCreate | cab::openflag::kSequential |
                                  cab::openflag::kWriteOnly,
                      kPermissionRead | kPermissionWrite);
    }
    case cab::notify::kCloseFile:
      CloseFile(record->handle);
      return 1;
    default:
      return 0;
  }
}

const cab::CabinetError& CabinetErrorRecord() { return errorRecord; }

void DestroyCabinetContext() {
  if (context) cab::CabinetContextDestroy(context);
  context = nullptr;
}
