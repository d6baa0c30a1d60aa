#include "install/directories.h"

#include "install/createdfolders.h"
#include "session/log.h"
#include "productline/productline.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/os.h"
#include "session/progressstate.h"
#include "session/textids.h"

namespace {

// Everyone who logged on may do everything, and files and folders below inherit it.
constexpr const char* kAuthenticatedUsersFullAccess = "D:(A;OICIID;GA;;;AU)";

sys::Files& Fs() { return *sys::os().files; }

bool IsDirectory(const std::string& path) {
  sys::Result<std::vector<sys::FindEntry>> found = Fs().Find(path);
  return found.ok() && !found.value.empty() && (found.value.front().attributes & sys::attr::kDirectory) != 0;
}

bool Exists(const std::string& path) { return Fs().GetAttributes(path).ok(); }

void Tell(const std::string& text) {
  LoggedMessageBox(ProgressWindow(), text, Session().captionText, mb::kOk | mb::kSetForeground, sys::answer::kOk);
}

std::string CannotCreate(const std::string& path) {
  std::string text;
  return AppendFormat(text, "%s: %s\r\n", LoadText(text::kCannotCreateDirectory).c_str(), path.c_str());
}

// The message for a folder that could not be created, by error; true when it exists after all.
bool ReportCreateFailure(const std::string& path, sys::Error error) {
  std::string text;
  bool bareDrive = path.size() == 2 && path[1] == ':';
  if (error == sys::err::kPathNotFound && bareDrive) {
    AppendFormat(text, "%s: %s", LoadText(text::kDriveMissing).c_str(), path.c_str());
  } else if (error == sys::err::kAccessDenied) {
    AppendFormat(text = CannotCreate(path), "%s.", LoadText(text::kAccessDenied).c_str());
  } else if (error == sys::err::kInvalidName) {
    AppendFormat(text = CannotCreate(path), "%s.", LoadText(text::kDirectoryNameIncorrect).c_str());
  } else if (error == sys::err::kAlreadyExists && IsDirectory(path)) {
    return true;
  } else {
    AppendFormat(text = CannotCreate(path), "%s: %ld", LoadText(text::kError).c_str(), static_cast<long>(error));
  }
  Tell(text);
  return false;
}

}  // namespace

bool CreateOneDirectory(const std::string& path) {
  if (Exists(path)) {
    if (IsDirectory(path)) return true;
    Tell(CannotCreate(path));
    return false;
  }
  sys::Error error = Fs().CreateDirectory(path);
  if (error != 0) return ReportCreateFailure(path, error);
  RecordCreatedFolder(path);
  return true;
}

bool CreateSharedDirectory(const std::string& path) {
  if (Exists(path) && IsDirectory(path)) return true;
  sys::Error error = Fs().CreateDirectoryWithAccessList(path, kAuthenticatedUsersFullAccess);
  if (error == sys::err::kInvalidSecurityDescriptor) return false;  // the descriptor itself failed: no message
  if (error != 0) return ReportCreateFailure(path, error);
  return true;
}

bool CreateDirectoryPath(const std::string& path, bool withAccessList) {
  std::size_t start = 0;
  if (path.rfind("\\\\", 0) == 0) {
    // Skip the server and the share: the first level made is the first folder below them.
    std::size_t server = path.find('\\', 2);
    if (server == std::string::npos) return true;
    std::size_t share = path.find('\\', server + 1);
    if (share == std::string::npos) return true;
    start = share;
  } else {
    std::size_t first = path.find('\\');
    if (first == std::string::npos) return CreateOneDirectory(path);
    start = first;
  }
  bool sharedLast = withAccessList && IsLine(Session().productLine, line::kDORVAL5);
  while (start != std::string::npos && start < path.size()) {
    std::size_t next = path.find('\\', start + 1);
    std::string level = path.substr(0, next);
    bool last = next == std::string::npos || next + 1 >= path.size();
    if (level.empty() || level.back() == '\\') break;
    bool made = last && sharedLast ? CreateSharedDirectory(level) : CreateOneDirectory(level);
    if (!made) return false;
    start = next;
  }
  return true;
}
