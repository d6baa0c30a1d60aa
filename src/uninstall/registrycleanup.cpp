#include "uninstall/registrycleanup.h"

#include <optional>
#include <string>

#include "platform/metabase.h"
#include "platform/websetup.h"
#include "productline/installstatus.h"
#include "productline/productline.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/registry.h"
#include "uninstall/installationfolders.h"

namespace {

using sys::Hive;

constexpr const char* kUserKeys = ".DEFAULT\\Software\\Microsoft\\Cryptography\\UserKeys";
constexpr const char* kDesktopKeys = "Software\\Molvex\\Molvex for Windows";
constexpr const char* kBrowsersKey = "Software\\Molvex\\Browsers";
constexpr const char* kOldDesktopEntry = "Software\\Microsoft\\Windows\\CurrentVersion\\uninstall\\MolvexStrond";

void Tree(Hive hive, const std::string& path) { sys::os().registry->DeleteKeyTree(hive, path); }
void IfEmpty(Hive hive, const std::string& path) { sys::os().registry->DeleteEmptyKey(hive, path); }

void CleanWebLine() {
  Tree(Hive::Users, kFyndraMarkerKey);
  Tree(Hive::Users, kHalomirNetMarkerKey);
  IfEmpty(Hive::Users, kUserKeys);
  IfEmpty(Hive::Users, ".DEFAULT\\Software\\Microsoft\\Cryptography");
  const std::string& virtualDir = Session().virtualDir.str();
  DeleteVirtualDirectory(virtualDir.empty() ? "Halomir" : virtualDir);
}

void CleanSpanishLine() {
  Tree(Hive::LocalMachine, "Software\\Dorval");
  Tree(Hive::ClassesRoot, ".QDC");
  Tree(Hive::ClassesRoot, "Quarzel_DC");
}

void CleanDesktopLine() {
  Tree(Hive::LocalMachine, std::string(kDesktopKeys) + "\\4.0");
  IfEmpty(Hive::LocalMachine, kDesktopKeys);
  IfEmpty(Hive::LocalMachine, "Software\\Molvex");
  if (!KeepsUserSettings()) {
    Tree(Hive::CurrentUser, std::string(kDesktopKeys) + "\\4.0");
    Tree(Hive::Users, std::string(".DEFAULT\\") + kDesktopKeys + "\\4.0");
    Tree(Hive::CurrentUser, std::string(kBrowsersKey) + "\\Molvex Strond 2000");
    Tree(Hive::CurrentUser, kBrowsersKey);
    IfEmpty(Hive::CurrentUser, kDesktopKeys);
    IfEmpty(Hive::CurrentUser, "Software\\Molvex");
    IfEmpty(Hive::Users, ".DEFAULT\\Software\\Molvex");
  }
  sys::os().registry->DeleteKey(Hive::LocalMachine, kOldDesktopEntry);
}

void CleanPayrollLine() {
  Tree(Hive::LocalMachine, "Software\\Molvex\\Salvix\\9.0");
  IfEmpty(Hive::LocalMachine, "Software\\Molvex\\Salvix");
  IfEmpty(Hive::LocalMachine, "Software\\Molvex");
}

}  // namespace

void CleanUpRegistry() {
  sys::Registry& registry = *sys::os().registry;
  const std::string settingsKey(kSettingsKeyPath);
  registry.DeleteKey(Hive::CurrentUser, settingsKey);  // stays while other installations are below it
  registry.DeleteKey(Hive::LocalMachine, settingsKey);
  SetInstallStatus(std::nullopt);

  const std::string& line = Session().productLine.str();
  if (IsWebLine(line)) {
    CleanWebLine();
  } else if (IsLine(line, line::kDORVAL5)) {
    CleanSpanishLine();
  } else if (!IsLine(line, line::kKS)) {
    CleanDesktopLine();
  } else {
    CleanPayrollLine();
  }
}
