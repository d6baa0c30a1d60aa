// .NET assemblies are registered by the framework's own tool; which framework is found
// once at the start of a pass.
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "install/registration.h"
#include "install/registrationquestion.h"
#include "install/sharedfiles.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/modules.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace {

constexpr const char* kFrameworkKey = "Software\\Microsoft\\.NETFramework";
constexpr const char* kFrameworkVersionsKey = "Software\\Microsoft\\NET Framework Setup\\NDP";
// The first framework whose tool takes the options used here.
constexpr const char* kOldestUsableVersion = "v2.0.50727";
constexpr const char* kAssemblyVersionName = "Assembly Version";

std::string regAsmFolder;

bool FileExists(const std::string& path) { return sys::os().files->GetAttributes(path).ok(); }

std::string ToolCommandLine(const std::string& path, bool registerIt, bool codebase) {
  const char* format = !registerIt ? "%s\\regAsm /unregister /silent /nologo \"%s\""
                       : codebase  ? "%s\\regAsm /codebase /silent /nologo \"%s\""
                                   : "%s\\regAsm /silent /nologo \"%s\"";
  std::string commandLine;
  AppendFormat(commandLine, format, regAsmFolder.c_str(), path.c_str());
  return commandLine;
}

}  // namespace

const std::string& RegAsmFolder() { return regAsmFolder; }

void FindRegAsmFolder() {
  regAsmFolder.clear();
  std::optional<std::string> installRoot = sys::QueryString(sys::Hive::LocalMachine, kFrameworkKey, "InstallRoot");
  if (!installRoot) return;
  sys::Result<std::vector<std::string>> versions =
      sys::os().registry->EnumSubKeys(sys::Hive::LocalMachine, kFrameworkVersionsKey);
  if (!versions.ok()) return;
  // Version names compare as plain bytes: "v4.0" is newer than "v3.5", and "v2.0.50727"
  // is the floor.
  std::string best;
  for (const std::string& name : versions.value) {
    if (name.empty() || name[0] != 'v') continue;
    if (std::strcmp(name.c_str(), kOldestUsableVersion) < 0 || std::strcmp(name.c_str(), best.c_str()) <= 0) continue;
    std::string folder = *installRoot + name;
    if (!FileExists(sys::JoinPath(folder, "regasm.exe"))) continue;
    regAsmFolder = folder;
    best = name;
  }
}

bool HasAssemblyVersion(const std::string& path) {
  return sys::os().modules->QueryVersionString(path, kAssemblyVersionName).ok();
}

bool RegisterAssembly(const std::string& path, bool registerIt, bool codebase) {
  // Without a framework there is nothing that could use the assembly's registration.
  if (regAsmFolder.empty()) return true;
  RegistrationProgram program;
  program.commandLine = ToolCommandLine(path, registerIt, codebase);
  program.path = path;
  program.options.inheritHandles = true;
  program.options.noConsoleWindow = true;
  // Removing a registration is not worth a question when the tool hangs.
  program.askOnTimeout = registerIt;
  if (Session().repairOnly && !FileExists(path)) return true;
  if (RunRegistrationProgram(program) == ProgramOutcome::Aborted) return false;
  RecordRegisteredNetDll(path);
  return true;
}
