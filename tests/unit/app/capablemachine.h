#pragma once
// A workstation that passes every machine step of the settings check: a current browser,
// the frameworks, administrator rights, the data-access components and the report runtime.
#include "fakes/fake_os.h"

inline void MakeCapableMachine(FakeOs& os) {
  using sys::Hive;
  os.registry.PutString(Hive::LocalMachine, "Software\\Microsoft\\Internet Explorer", "Version", "8.0.7601.17514");
  os.registry.PutString(Hive::LocalMachine, "Software\\Microsoft\\NET Framework Setup\\NDP\\v3.5", "Version",
                        "3.5.30729.01");
  os.registry.PutString(Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control", "SystemStartOptions", "");
  os.registry.PutString(Hive::LocalMachine, "Software\\Microsoft\\DataAccess", "FullInstallVer", "2.81.1117.0");
  os.registry.PutString(Hive::LocalMachine, "Software\\Business Objects\\Suite 11.5\\Shared", "CommonFiles", "C:\\BO");
}
