#include "app/restart.h"

#include "install/placementstate.h"
#include "session/log.h"
#include "productline/productline.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/profiles.h"
#include "sys/registry_helpers.h"
#include "transfer/sitesession.h"
#include "install/resumedrunentry.h"

namespace {

std::string ProgramFolder() {
  return sys::JoinPath(Session().installDir.str(), ProgramFolderName(Session().productLine));
}

// "Plandrix_T17_EN.exe" with the code between the underscores: two or three characters.
bool IsDistributionName(const std::string& name, const std::string& code) {
  std::string expected = "Plandrix_" + code + "_";
  return name.size() == expected.size() + 6 && sys::EqualsNoCase(name.substr(0, expected.size()), expected) &&
         sys::EqualsNoCase(name.substr(name.size() - 4), ".exe") && (code.size() == 2 || code.size() == 3);
}

void WriteSetupIni(const std::string& exe, InstallMode mode, bool withDate) {
  std::string ini = exe.substr(0, exe.size() - 3) + "ini";
  const SessionSettings& s = Session();
  sys::Profiles& profiles = *sys::os().profiles;
  profiles.WriteString(ini, "Setup", std::string("ProductLine"), s.productLine.str());
  profiles.WriteString(ini, "Setup", std::string("Release"), s.release.str());
  profiles.WriteString(ini, "Setup", std::string("WebSite1"), s.webSite.str());
  profiles.WriteString(ini, "Setup", std::string("InstallMode"), std::to_string(mode));
  profiles.WriteString(ini, "Setup", std::string("Help"), std::to_string(s.help));
  if (withDate) profiles.WriteString(ini, "Setup", std::string("Date"), Site().listTimestamp);
}

}  // namespace

void RegisterResumedRun() {
  if (IsWebLine(Session().productLine)) return;
  if (sys::os().registry->CreateKey(sys::Hive::LocalMachine, kRunOnceKey) != 0) return;
  std::string command;
  AppendFormat(command, "\"%s\\%s\" /REBOOT:1", ProgramFolder().c_str(), LoadText(text::kDistributionFileName).c_str());
  sys::SetString(sys::Hive::LocalMachine, kRunOnceKey, kResumedRunValue, command);
}

void PromptRestart() {
  PlacementState& placement = Placement();
  std::string text = placement.inUseListed ? placement.inUseList : LoadText(text::kRebootToComplete) + "\r\n\r\n";
  text += "\r\n" + LoadText(text::kAskRebootNow);
  if (Session().silent) return;
  int answer = sys::os().desktop->MessageBox(0, text, Session().captionText, mb::kYesNo | mb::kSetForeground);
  if (answer != sys::answer::kYes) return;
  sys::Error error = sys::os().desktop->RestartSystem();
  if (error == 0) return;
  std::string report;
  AppendFormat(report, "%s. ", LoadText(text::kCannotShutDown).c_str());
  AppendFormat(report, "(%s: %ld)\r\n", LoadText(text::kError).c_str(), static_cast<long>(error));
  report += LoadText(text::kRestartByHand);
  LoggedMessageBox(0, report, Session().captionText, mb::kOk | mb::kSetForeground, sys::answer::kOk);
}

void CopySetupToCdImage() {
  const std::string& line = Session().productLine.str();
  std::string code = DistributionCode(line);
  std::string folder = ProgramFolder();
  sys::Files& files = *sys::os().files;
  sys::Result<std::vector<sys::FindEntry>> found = files.Find(sys::JoinPath(folder, "Plandrix_" + code + "_??.exe"));
  if (!found.ok()) return;
  for (const sys::FindEntry& entry : found.value) {
    if (!IsDistributionName(entry.name, code)) continue;
    std::string source = sys::JoinPath(folder, entry.name);
    std::string tail = entry.name.substr(entry.name.size() - 6);
    std::string setup = sys::JoinPath(Session().installDir.str(), "Setup_" + tail);
    if (files.CopyFile(source, setup, false) == 0)
      WriteSetupIni(setup, IsWebLine(line) ? kInternetNetworkUpdate : kCdWorkstation, false);
    if (IsWebLine(line)) continue;
    std::string netSetup = sys::JoinPath(Session().installDir.str(), "NetSetup_" + tail);
    if (files.CopyFile(source, netSetup, false) == 0) WriteSetupIni(netSetup, kCdNetwork, true);
  }
}
