#include "updaterun/expandcabinet.h"

#include "session/log.h"
#include "session/textids.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/os.h"
#include "session/progressstate.h"
#include "updaterun/cabinetfiles.h"

namespace {

constexpr size_t kMaxShortPath = 512;
// The runtime's permission bits for a file that may be read and written.
constexpr int kPermissionRead = 0x0100;
constexpr int kPermissionWrite = 0x0080;

cab::Context* context = nullptr;
cab::CabinetError errorRecord;
int filesCopied = 0;  // copy notifications of the running expansion

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
    context = cab::CabinetContextCreate(cabinetfiles::Callbacks(), cab::kCpu80386, &errorRecord);
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
      return cabinetfiles::Open(output, cab::openflag::kBinary | cab::openflag::kCreate | cab::openflag::kSequential |
                                  cab::openflag::kWriteOnly,
                      kPermissionRead | kPermissionWrite);
    }
    case cab::notify::kCloseFile:
      cabinetfiles::Close(record->handle);
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
