#include "install/shortcuts.h"

#include "install/directories.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/desktop.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/shelllinks.h"

namespace {

// The payroll line keeps its shortcuts in a folder of their own below the common Programs menu.
constexpr const char* kPayrollProgramsFolder = "KORDAN SALV";
constexpr int kShowNormal = 1;

}  // namespace

void CreateShortcut(int csidl, const Shortcut& shortcut) {
  sys::Result<std::string> folder = sys::os().desktop->GetSpecialFolder(csidl);
  if (!folder.ok() || sys::os().shellLinks == nullptr) return;
  const std::string& line = Session().productLine.str();
  sys::LinkRecord link;
  link.target = shortcut.target;
  link.description = shortcut.name;
  link.iconFile = shortcut.icon;
  link.iconIndex = shortcut.iconIndex;
  std::string path;
  sys::LinkKind kind = sys::LinkKind::Shell;
  if (IsWebLine(line)) {
    kind = sys::LinkKind::Internet;
    path = sys::JoinPath(folder.value, shortcut.name + ".url");
  } else {
    std::string place = folder.value;
    if (IsLine(line, line::kKS) && csidl == sys::csidl::kCommonPrograms) {
      place = sys::JoinPath(place, kPayrollProgramsFolder);
      CreateDirectoryPath(place, false);
    }
    link.showCommand = kShowNormal;
    link.workingFolder = shortcut.workingFolder;
    link.arguments = shortcut.arguments;
    path = sys::JoinPath(place, shortcut.name + ".lnk");
  }
  sys::Error error = sys::os().shellLinks->Save(kind, path, link);
  if (error == sys::err::kSuccess) WriteLog("Shortcut %s made", path.c_str());
  else WriteLog("Shortcut %s could not be made (0x%08X)", path.c_str(), static_cast<unsigned>(error));
}
