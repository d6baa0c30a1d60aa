#include "app/handover.h"

#include <cstdlib>

#include "install/placefile.h"
#include "install/rebootreplace.h"
#include "session/log.h"
#include "productline/productline.h"
#include "app/restart.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/profiles.h"
#include "transfer/sitesession.h"
#include "session/progressstate.h"
#include "filelist/fileversion.h"
#include "session/textids.h"

namespace {

sys::Files& Fs() { return *sys::os().files; }

void Put(const std::string& ini, const char* key, const std::string& value) {
  sys::os().profiles->WriteString(ini, "Setup", std::string(key), value);
}

// The distribution file: the build's own, or the converted one after a conversion to the new line.
std::string DistributionFileName() {
  const RunResults& results = Results();
  if (results.convertedProductLine && IsConvertibleLine(results.previousProductLine) &&
      std::atoi(Session().release.c_str()) >= 398)
    return LoadText(text::kConvertedDistributionFileName);
  return LoadText(text::kDistributionFileName);
}

// Skips when the target is as new as the source, or the source carries no version.
bool CopyNeeded(const std::string& source, const std::string& target) {
  std::optional<sys::FileVersion> sourceVersion = ReadFileVersion(source);
  if (!sourceVersion) return false;
  std::optional<sys::FileVersion> targetVersion = ReadFileVersion(target);
  return !targetVersion || !CompareVersions(*sourceVersion, *targetVersion);
}

// The network installation's updater is in use (a user runs it): the new one is saved
// beside it, for the administrator to swap.
void SaveNewNetworkUpdater(const std::string& source, const std::string& target) {
  std::string fallback = sys::JoinPath(sys::SplitAtLastBackslash(target).folder, "new_netupdate.exe");
  sys::Error error = Fs().CopyFile(source, fallback, false);
  if (error != 0) {
    ReportInstallError(source, fallback, error);
    return;
  }
  std::string text = LoadText(text::kNetworkInstallerInUse) + " " + LoadText(text::kNewNetworkInstallerSaved) +
                     "\r\n" + LoadText(text::kReplaceNetworkInstaller);
  LoggedMessageBox(0, text, Session().captionText, mb::kOk | mb::kSetForeground, sys::answer::kOk);
}

void LanWorkstationHandOver(const std::string& source) {
  const SessionSettings& s = Session();
  std::string folder = sys::JoinPath(s.installDir.str(), ProgramFolderName(s.productLine));
  SelfCopy(source, sys::JoinPath(folder, "wupdate.exe"), SelfCopyTarget::WorkstationUpdater);
  if (s.repairOnly) return;
  std::string ini = sys::JoinPath(folder, "wupdate.ini");
  Put(ini, "ProductLine", IsTallyoLine(s.productLine) ? std::string(line::kQS2003E) : s.productLine.str());
  Put(ini, "Release", s.release);
  Put(ini, "Network", s.netDir);
  Put(ini, "InstallMode", std::to_string(kLanWorkstationUpdate));
  Put(ini, "Help", std::to_string(s.help));
  Put(ini, "Date", Site().listTimestamp);
}

void NetworkHandOver(const std::string& source) {
  const SessionSettings& s = Session();
  bool tallyoOrQba = IsTallyoLine(s.productLine);
  SelfCopy(source, sys::JoinPath(s.installDir.str(), "netupdate.exe"), SelfCopyTarget::NetworkUpdater);
  if (!tallyoOrQba) {
    std::string ini = sys::JoinPath(s.installDir.str(), "netupdate.ini");
    Put(ini, "ProductLine", s.productLine);
    Put(ini, "Release", s.release);
    Put(ini, "WebSite1", s.webSite);
    Put(ini, "Domain", s.domain);
    Put(ini, "InstallMode", std::to_string(kInternetNetworkUpdate));
    Put(ini, "Contact", s.contact);
    Put(ini, "Gender", s.gender);
    Put(ini, "Title", s.title);
    Put(ini, "Email", s.email);
    Put(ini, "Phone", s.phone);
    Put(ini, "JobTitle", s.jobTitle);
    Put(ini, "Help", std::to_string(s.help));
    if (s.websiteId > 0) Put(ini, "WebsiteID", std::to_string(s.websiteId));
  }
  SelfCopy(source, sys::JoinPath(s.installDir.str(), "wsetup.exe"), SelfCopyTarget::WorkstationSetup);
  if (tallyoOrQba) return;
  std::string ini = sys::JoinPath(s.installDir.str(), "wsetup.ini");
  Put(ini, "ProductLine", s.productLine);
  Put(ini, "Release", s.release);
  Put(ini, "InstallMode", std::to_string(kLanWorkstation));
  Put(ini, "Help", std::to_string(s.help));
  if (!Results().copyIncomplete && !Results().nothingInstalled) Put(ini, "Date", Site().listTimestamp);
}

}  // namespace

void SelfCopy(const std::string& source, const std::string& target, SelfCopyTarget kind) {
  if (!CopyNeeded(source, target)) return;
  while (true) {
    sys::Error error = Fs().CopyFile(source, target, false);
    if (error == 0) return;
    if (error != sys::err::kSharingViolation || kind == SelfCopyTarget::WorkstationSetup) {
      ReportInstallError(source, target, error);
      return;
    }
    if (kind == SelfCopyTarget::NetworkUpdater) {
      SaveNewNetworkUpdater(source, target);
      return;
    }
    if (Session().hasAdminRights) {
      ScheduleReplaceAtReboot(source, target, false);
      return;
    }
    std::string text = LoadText(text::kCannotCopy) + " " + target + "\r\n" + LoadText(text::kSharingViolation);
    int answer = LoggedMessageBox(ProgressWindow(), text, "",
                                  mb::kAbortRetryIgnore | mb::kIconStop | mb::kSetForeground, sys::answer::kAbort);
    if (answer == sys::answer::kRetry) continue;
    Results().copyIncomplete = true;
    return;
  }
}

void HandOverToInstallation() {
  int32_t mode = Session().installMode;
  if (mode == kCdCreation) {
    CopySetupToCdImage();
    return;
  }
  const SessionSettings& s = Session();
  std::string source =
      sys::JoinPath(sys::JoinPath(s.installDir.str(), ProgramFolderName(s.productLine)), DistributionFileName());
  if (IsLanWorkstationMode(mode)) LanWorkstationHandOver(source);
  if (IsNetworkMode(mode)) NetworkHandOver(source);
}
