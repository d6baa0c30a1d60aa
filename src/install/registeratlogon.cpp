#include "install/registeratlogon.h"

#include "session/log.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/registry_helpers.h"
#include "session/knownplaces.h"

namespace {
constexpr const char* kRunOnceKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
int runOnceCounter = 0;
}  // namespace

void ResetRunOnceCounter() { runOnceCounter = 0; }

bool RegisterAtNextLogon(const std::string& path) {
  if (sys::os().registry->CreateKey(sys::Hive::LocalMachine, kRunOnceKey) != 0) {
    WriteLog("Failed to activate 'register after reboot': %s", path.c_str());
    return false;
  }
  WriteLog("Register after reboot: %s", path.c_str());
  std::string name;
  do {
    name = "MolvexRegister" + std::to_string(++runOnceCounter);
  } while (sys::os().registry->QueryValue(sys::Hive::LocalMachine, kRunOnceKey, name).ok());
  std::string command;
  if (sys::EndsWithNoCase(path, ".exe"))
    AppendFormat(command, "\"%s\" /RegServer", path.c_str());
  else
    AppendFormat(command, "%s /s \"%s\"", sys::JoinPath(Places().systemFolder, "regsvr32.exe").c_str(), path.c_str());
  sys::SetString(sys::Hive::LocalMachine, kRunOnceKey, name, command);
  return true;
}
