#include "uninstall/unregister.h"

#include <array>
#include <string_view>
#include <vector>

#include "install/createdfolders.h"
#include "install/errormodescope.h"
#include "productline/productline.h"
#include "session/knownplaces.h"
#include "session/progressstate.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/modules.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/processes.h"
#include "sys/registry.h"

namespace {

constexpr uint32_t kUnregisterWaitMs = 30000;

// Libraries that other products keep using from the same folders.
constexpr std::array<std::string_view, 6> kKeptRegistered = {"CVHFSBTR.DLL", "WHSC30.DLL", "EOrdPPrintOrd.DLL",
                                                             "STE-TTL.DLL",  "STE.DLL",    "LUA51.dll"};

bool KeptRegistered(std::string_view name) {
  for (std::string_view kept : kKeptRegistered)
    if (sys::EqualsNoCase(name, kept)) return true;
  return false;
}

void ShowItem(const std::string& item) {
  UpdateProgress([&](ProgressState& p) { p.itemLine = item; });
  RefreshProgress();
}

bool IsDesktopLine(const std::string& line) {
  return !IsLineOneOf(line, {line::kFYNDRA, line::kHalomirNet, line::kDORVAL5, line::kKS});
}

}  // namespace

std::string UninstallProductFolder() {
  const SessionSettings& s = Session();
  return sys::JoinPath(s.installDir.str(), IsLine(s.productLine.str(), line::kDORVAL5) ? "shared" : "bin");
}

std::string CommonSharedFolder() { return sys::JoinPath(Places().commonFilesFolder, "Molvex Shared"); }

void UnregisterDll(const std::string& path) {
  sys::Modules& modules = *sys::os().modules;
  sys::Result<sys::ModuleHandle> loaded;
  {
    QuietErrorModeScope quiet;
    loaded = modules.Load(path);
  }
  if (!loaded.ok()) return;
  sys::Result<sys::EntryPoint> entry = modules.FindExport(loaded.value, "DllUnregisterServer");
  if (entry.ok()) {
    ShowItem(path);
    modules.CallRegistrationEntry(entry.value);
  }
  modules.Free(loaded.value);
}

void UnregisterExe(const std::string& path) {
  sys::Processes& processes = *sys::os().processes;
  sys::StartOptions options;
  options.workingFolder = UninstallProductFolder();
  sys::Result<sys::ProcessHandle> started = processes.Create("\"" + path + "\" /UnregServer", options);
  if (started.ok()) {
    processes.Wait(started.value, kUnregisterWaitMs);
    processes.Close(started.value);
  }
  sys::os().modules->SetCurrentFolder("C:\\");
}

void UnregisterFolderLibraries(const std::string& extension, bool common) {
  const std::string folder = common ? CommonSharedFolder() : UninstallProductFolder();
  sys::Modules& modules = *sys::os().modules;
  modules.SetCurrentFolder(folder);
  sys::Result<std::vector<sys::FindEntry>> found = sys::os().files->Find(folder + "\\*." + extension);
  if (found.ok()) {
    for (const sys::FindEntry& file : found.value)
      if (!KeptRegistered(file.name)) UnregisterDll(file.name);
  }
  modules.SetCurrentFolder("c:\\");
}

void UnregisterRecordedPrograms() {
  sys::Registry& registry = *sys::os().registry;
  const std::string list = InstallationKeyPath() + "\\RegisteredExe";
  sys::Result<std::vector<std::string>> programs = registry.EnumValueNames(sys::Hive::LocalMachine, list);
  if (!programs.ok()) {
    // Desktop installations from before the list still have their two servers.
    if (IsDesktopLine(Session().productLine.str())) {
      UnregisterExe(sys::JoinPath(UninstallProductFolder(), "K7SLASH.EXE"));
      UnregisterExe(sys::JoinPath(UninstallProductFolder(), "K7REPORT.EXE"));
    }
    return;
  }
  for (const std::string& program : programs.value) {
    ShowItem(program);
    UnregisterExe(program);
  }
  registry.DeleteKey(sys::Hive::LocalMachine, list);
}
