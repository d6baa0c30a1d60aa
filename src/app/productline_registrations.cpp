#include "app/productline_registrations.h"

#include <array>
#include <string>
#include <string_view>

#include "platform/systemfacts.h"
#include "session/log.h"
#include "productline/productline.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/profiles.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"
#include "sys/systeminfo.h"

namespace {

constexpr std::string_view kFontsKeyNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
constexpr std::string_view kFontsKey9x = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts";

struct NamedValue {
  std::string_view name;
  std::string_view value;
};

constexpr std::array<NamedValue, 4> kSpanishFonts{{
    {"Swiss 721 Bold Condensed BT (TrueType)", "SWZ721BC.TTF"},
    {"Swiss 721 Condensed BT (TrueType)", "SWZ721C.TTF"},
    {"Swiss 721 Black Condensed BT (TrueType)", "SWZ721KC.TTF"},
    {"Swiss 721 Light Condensed BT (TrueType)", "SWZ721LC.TTF"},
}};

// The sub-folders of the installation the desktop programs look for, by value name.
constexpr std::array<NamedValue, 6> kDesktopSubFolders{{
    {"Binaries", "bin"},
    {"Document", "usr"},
    {"Fixed", "etc"},
    {"Images", "img"},
    {"Reports", "rpt"},
    {"Templates", "template"},
}};

constexpr std::string_view kPayrollIni = "salv.ini";
constexpr std::string_view kPayrollSection = "INIT";

// Sets a key's default value, creating the key first.
void SetClassDefault(const std::string& key, const std::string& text) {
  sys::os().registry->CreateKey(sys::Hive::ClassesRoot, key);
  sys::SetString(sys::Hive::ClassesRoot, key, "", text);
}

void RegisterSpanishFileType(const std::string& installDir) {
  SetClassDefault(".QDC", "Quarzel_DC");
  SetClassDefault("Quarzel_DC", "Quarzel Data Container");
  SetClassDefault("Quarzel_DC\\DefaultIcon", sys::JoinPath(installDir, "SIS\\SMENV01A.EXE,0"));
  SetClassDefault("Quarzel_DC\\shell\\edit", "&Editar");
  SetClassDefault("Quarzel_DC\\shell\\edit\\command", sys::JoinPath(GetWindowsFolder(), "NOTEPAD.EXE %1"));
  SetClassDefault("Quarzel_DC\\shell\\open\\command",
                  "\"" + sys::JoinPath(installDir, "SIS\\QUARZEL.EXE") + "\" /E \"%1\"");
}

void RegisterSpanishFonts() {
  std::string key(Session().isNtFamily ? kFontsKeyNt : kFontsKey9x);
  if (sys::os().registry->OpenKey(sys::Hive::LocalMachine, key, sys::KeyAccess::Write) != sys::err::kSuccess) return;
  for (const NamedValue& font : kSpanishFonts) {
    sys::SetString(sys::Hive::LocalMachine, key, std::string(font.name), std::string(font.value));
  }
  if (sys::os().systemInfo != nullptr) sys::os().systemInfo->BroadcastFontChange();
}

}  // namespace

void RegisterSpanishLine() {
  const std::string& installDir = Session().installDir;
  std::string machineKey = MachineKeyPath(line::kDORVAL5);
  if (CreateMachineKey(line::kDORVAL5) == sys::err::kSuccess) {
    sys::SetString(sys::Hive::LocalMachine, machineKey, "Trayectoria", installDir);
  }
  RegisterSpanishFileType(installDir);
  RegisterSpanishFonts();
}

void WritePayrollSettings() {
  const std::string& installDir = Session().installDir;
  CreateMachineKey(line::kKS);
  std::string ini = sys::JoinPath(GetWindowsFolder(), kPayrollIni);
  std::string section(kPayrollSection);
  sys::Profiles* profiles = sys::os().profiles;
  profiles->WriteString(ini, section, std::string("TREEVIEW"), std::string("1"));
  std::size_t colon = installDir.find(':');
  if (colon == std::string::npos) {
    // A network folder has no drive for the payroll program to start from; its own
    // entries stay as they are.
    WriteLog("No program drive in %s for %s", installDir.c_str(), ini.c_str());
  } else {
    std::size_t backslash = installDir.find('\\');
    std::string rest = backslash == std::string::npos ? std::string() : installDir.substr(backslash);
    profiles->WriteString(ini, section, std::string("PROG-DRIVE"), installDir.substr(0, colon));
    profiles->WriteString(ini, section, std::string("PROG-PATH"), sys::JoinPath(rest, "bin") + "\\");
  }
  profiles->WriteString(ini, section, std::string("SALVHOME"), installDir);
}

void WriteDesktopPaths() {
  const std::string& installDir = Session().installDir;
  std::string key = std::string(kDesktopMachineKey) + "\\Paths";
  if (sys::os().registry->CreateKey(sys::Hive::LocalMachine, key) != sys::err::kSuccess) return;
  sys::SetString(sys::Hive::LocalMachine, key, "Root", installDir);
  for (const NamedValue& folder : kDesktopSubFolders) {
    sys::SetString(sys::Hive::LocalMachine, key, std::string(folder.name),
                   sys::JoinPath(installDir, folder.value));
  }
  std::string languages;
  AppendFormat(languages, "%s;%s", sys::JoinPath(installDir, "lng").c_str(),
               sys::JoinPath(installDir, "halomir\\lng").c_str());
  sys::SetString(sys::Hive::LocalMachine, key, "Language", languages);
}
