#include "uninstall/uninstallentry.h"

#include <string>

#include "productline/folderkey.h"
#include "productline/productline.h"
#include "session/boundedtext.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace {

constexpr const char* kUninstallKeys = "Software\\Microsoft\\Windows\\CurrentVersion\\uninstall";
// The desktop line's entry from before there was one per folder.
constexpr const char* kOldFixedEntry = "MolvexStrond";

// The entry's key: one per installation folder.
std::string EntryKey() {
  BoundedText<256> folderWord(FolderKey(Session().installDir.str()));  // the folder word's buffer
  return sys::JoinPath(kUninstallKeys, "Molvex-" + folderWord.str());
}

}  // namespace

void DeleteUninstallEntry() { sys::os().registry->DeleteKey(sys::Hive::LocalMachine, EntryKey()); }

void RegisterUninstallEntry() {
  const SessionSettings& s = Session();
  sys::Registry& registry = *sys::os().registry;
  registry.DeleteKey(sys::Hive::LocalMachine, sys::JoinPath(kUninstallKeys, kOldFixedEntry));

  const std::string key = EntryKey();
  if (registry.CreateKey(sys::Hive::LocalMachine, key) != sys::err::kSuccess) {
    WriteLog("The uninstall entry %s could not be made", key.c_str());
    return;
  }
  const std::string program =
      sys::JoinPath(sys::JoinPath(s.installDir.str(), ProgramFolderName(s.productLine.str())),
                    LoadText(text::kDistributionFileName));
  std::string command = program + " /UNINSTALL:\"" + s.installDir.str() + "\" /P:" + s.productLine.str();
  if (IsWebLine(s.productLine.str()) && !s.virtualDir.empty()) command += " /V:" + s.virtualDir.str();

  sys::SetString(sys::Hive::LocalMachine, key, "Displayname", Results().productTitle.str());
  sys::SetString(sys::Hive::LocalMachine, key, "DisplayIcon", program);
  sys::SetString(sys::Hive::LocalMachine, key, "UninstallString", command);
  WriteLog("Uninstall entry %s written", key.c_str());
}
