#include "uninstall/installationfolders.h"

#include <initializer_list>

#include "install/createdfolders.h"
#include "install/retryprimitives.h"
#include "productline/productline.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/paths.h"

namespace {

using Names = std::initializer_list<const char*>;

constexpr Names kCommonFolders = {"bin", "etc", "img", "rpt", "sql", "halomir", "template", "usr", "lng", "docs"};
constexpr Names kFyndraFolders = {"cab", "rep", "custom", "services", "XML", "xsd"};
constexpr Names kFyndraFiles = {"default.asp", "fyndra.exe", "fyndra.cfg"};
constexpr Names kHalomirNetFolders = {"cab", "rep", "custom", "services", "XML"};
constexpr Names kHalomirNetFiles = {"default.aspx", "db.config", "global.asax", "version.config", "web.config"};

struct Deleter {
  const std::string& folder;
  bool failed = false;

  void Trees(Names names) {
    for (const char* name : names)
      if (!DeleteDirectoryTree(sys::JoinPath(folder, name))) failed = true;
  }
  void Files(Names names) {
    for (const char* name : names)
      if (DeleteFileWithRetry(sys::JoinPath(folder, name)) != DeleteOutcome::Done) failed = true;
  }
};

}  // namespace

bool KeepsUserSettings() { return Session().cleanReinstall && IsWorkstationMode(Session().installMode); }

bool DeleteInstallationFolders(const std::string& folder) {
  const std::string& line = Session().productLine.str();
  // The run's own log lies in "usr": closed, it does not hold the folder.
  CloseLog();
  Deleter remove{folder};
  remove.Trees(kCommonFolders);
  if (!KeepsUserSettings()) remove.Files({"db.ini"});
  if (IsLine(line, line::kFYNDRA)) {
    remove.Trees(kFyndraFolders);
    remove.Files(kFyndraFiles);
  } else if (IsLine(line, line::kHalomirNet)) {
    remove.Trees(kHalomirNetFolders);
    remove.Files(kHalomirNetFiles);
  } else if (IsLine(line, line::kDORVAL5)) {
    remove.Files({"lote.txt"});
  }
  if (RemoveCreatedFolders(sys::Hive::LocalMachine) > 0) remove.failed = true;
  if (RemoveCreatedFolders(sys::Hive::CurrentUser) > 0) remove.failed = true;
  if (RemoveDirectoryWithRetry(folder) != RemoveOutcome::Removed) remove.failed = true;
  return remove.failed;
}
