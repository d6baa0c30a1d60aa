#include "install/directories.h"
#include "install/leftovers.h"
#include "install/placementstate.h"
#include "install/registration.h"
#include "install/retryprimitives.h"
#include "install/printerdriver.h"
#include "platform/services.h"
#include "uninstall/cleanreinstall.h"
#include "install/resumedrunentry.h"
#include "productline/installstatus.h"
#include "productline/networklock.h"
#include "session/log.h"
#include "session/textids.h"
#include "productline/productline.h"
#include "session/session.h"
#include "sys/clock.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "platform/diskspace.h"
#include "transfer/transferstatistics.h"
#include "session/progressstate.h"
#include "transfer/sitesession.h"
#include "filelist/downloadcache.h"
#include "updaterun/installentries.h"
#include "session/knownplaces.h"
#include "updaterun/reregistrationlist.h"
#include "filelist/targetfolder.h"
#include "updaterun/updaterun.h"
#include "sys/registry.h"
#include "sys/desktop.h"
#include <algorithm>

namespace {

enum class ListOutcome { Failed, Finished, NextList };

bool Cancelled() { return cancelRequested.load() != 0; }
uint32_t Now() { return sys::os().clock->TickCount(); }
sys::Files& Fs() { return *sys::os().files; }

// The product's main program below the installation directory, which a repair needs.
std::string MainProgramFile(const std::string& line) {
  if (IsLine(line, line::kFYNDRA)) return "bin\\fyndra.dll";
  if (IsLine(line, line::kHalomirNet)) return "bin\\Molvex.Core.dll";
  if (IsLine(line, line::kDORVAL5)) return "sis\\quarzel.exe";
  if (IsLine(line, line::kKS)) return "bin\\salvix.exe";
  if (IsLine(line, line::kFNS)) return "Omnis.exe";
  if (IsLine(line, line::kFNC)) return "Omnis7.exe";
  return "k7shell.exe";
}

void Tell(uint32_t textId) {
  LoggedMessageBox(ProgressWindow(), LoadText(textId), Session().captionText, mb::kOk, sys::answer::kOk);
}

bool TallyoListExists() {
  return Fs().GetAttributes(sys::JoinPath(Session().netDir.str(), "Tallyo.lst")).ok();
}

// "There are no files to be installed."; in the LAN modes a Tallyo list may still follow.
// An empty list also drops the debug statistics: there is nothing to measure.
ListOutcome NothingToInstall(bool emptyList) {
  bool lan = IsLanWorkstationMode(Session().installMode);
  if (lan && TallyoListExists() && !UpdateRun().tallyoPass) {
    UpdateRun().tallyoPass = true;
    return ListOutcome::NextList;
  }
  Results().runCompleted = true;
  if (emptyList) Session().debugStatistics = false;
  Tell(text::kNoFilesToInstall);
  Results().nothingInstalled = true;
  return ListOutcome::Finished;
}

bool ConfirmInstallation(const AnalysisTotals& totals) {
  if (Session().repairOnly || totals.installCount < 1) return true;
  long count = totals.installCount;
  WriteLog("%s: %ld", LoadText(text::kNumberOfFilesToInstall).c_str(), count);
  std::string summary;
  AppendFormat(summary, "%s: %ld\r\n", LoadText(text::kNumberOfFilesToInstall).c_str(), count);
  if (IsInternetMode(Session().installMode)) {
    long kb = static_cast<long>(totals.downloadBytes / 1024);
    AppendFormat(summary, "%s: %ld KB\r\n", LoadText(text::kDownloadSize).c_str(), kb);
    WriteLog("%s: %ld KB", LoadText(text::kDownloadSize).c_str(), kb);
  }
  AppendFormat(summary, "%s: %ld KB\r\n\r\n", LoadText(text::kRequiredDiskSpace).c_str(),
               static_cast<long>(std::max<int64_t>(totals.requiredBytes, 0) / 1024));
  summary += LoadText(text::kAskContinue);
  if (Session().unattended) return true;
  int answer = sys::os().desktop->MessageBox(ProgressWindow(), summary, Session().captionText,
                                             mb::kYesNo | mb::kSetForeground);
  if (answer == sys::answer::kNo) {
    Results().returnToSettings = true;
    WriteLog("Canceled by user, %s", LocalTimeText().c_str());
    return false;
  }
  return true;
}

bool PrepareInstallationFolder(const std::string& listPath) {
  const std::string& installDir = Session().installDir.str();
  const std::string& line = Session().productLine.str();
  if (!CreateDirectoryPath(installDir, true)) return false;
  // A new network installation is locked as soon as it exists.
  if (!LockNetworkInstallation(ProgressWindow())) return false;
  if (!IsLineOneOf(line, {line::kDORVAL5, line::kKS})) CreateOneDirectory(sys::JoinPath(installDir, "usr"));
  if (IsNetworkMode(Session().installMode) || Session().installMode == kCdCreation) {
    std::string copy = sys::JoinPath(installDir, IsTallyoLine(line) ? "Tallyo.lst" : "HalomirPlandrix.lst");
    if (CopyFileWithRetry(listPath, copy, false) != CopyOutcome::Copied) {
      Results().returnToSettings = true;
      return false;
    }
    if (Session().installMode == kCdNetwork) Fs().SetAttributes(copy, sys::attr::kNormal);
  }
  return true;
}

// Marks the installation unfinished and removes a pending resume before files change.
void BeginInstalling() {
  if (UpdateRun().mode.workstation) RemoveResumedRun();
  SetInstallStatus(std::string("Updating"));
}

bool InstallPasses(const AnalysisTotals& totals, uint32_t records) {
  auto stopWatch = []() {
    if (Session().debugStatistics) Statistics().installSeconds = (Now() - Statistics().installStartTick) / 1000;
  };
  // Work files that an unfinished run left go before this one writes its own (and before
  // it marks the network installation as updating itself).
  BeginLeftoverSweep(Results().previousRunUnfinished || NetworkRunCutOff());
  if (Session().updateMode != kUpdateAfterDownload) {
    BeginInstalling();
    bool ok = InstallEntries(records, kPassSingle);
    stopWatch();
    return ok;
  }
  bool ok = InstallEntries(records, kPassToCache);
  stopWatch();
  if (!ok) return false;
  StopServicesBeforeInstalling();
  UpdateProgress([&](ProgressState& progress) {
    progress.phaseLine = "Installing downloaded files";
    progress.totalSize = static_cast<int32_t>(totals.installedBytes);
    progress.copyPhase = true;
  });
  BeginInstalling();
  if (!InstallEntries(records, kPassFromCache)) return false;
  DeleteDirectoryTree(DownloadCacheFolder());
  return true;
}

bool OfficeSuiteInstalled() {
  return sys::os().registry->OpenKey(sys::Hive::ClassesRoot, "Word.Document", sys::KeyAccess::Read) == 0;
}

// Registers every entry with a registration kind; false when it had to stop.
bool RegistrationPass(int32_t registrationCount) {
  UpdateProgress([](ProgressState& progress) {
    progress.phaseLine = "Registering component:" + std::string(20, ' ');
    progress.itemLine.clear();
    progress.detailLine.clear();
  });
  RefreshProgress();
  bool office = OfficeSuiteInstalled();
  long n = 0;
  for (FileEntry& entry : UpdateRun().entries) {
    if (entry.registrationKind < 1) continue;
    const std::string& name = entry.fileName.str();
    if ((sys::EqualsNoCase(name, "CRMOfficeAddIn.dll") || sys::EqualsNoCase(name, "HRWordAddIn.dll")) &&
        (!office || Results().outlook64Bit))
      continue;
    UpdateProgress([&](ProgressState& progress) { progress.itemLine = name; });
    ++n;
    if (sys::EqualsNoCase(name, "MSSOAP30.dll") && !Session().hasAdminRights) {
      std::string text;
      AppendFormat(text, "%s: %s \r\n", LoadText(text::kFailedToRegister).c_str(), name.c_str());
      LoggedMessageBox(ProgressWindow(), text + LoadText(text::kNeedsAdministrator), Session().captionText, mb::kOk, sys::answer::kOk);
      continue;
    }
    std::string detail;
    AppendFormat(detail, "%s: ", LoadText(text::kRegistration).c_str());
    AppendFormat(detail, "%ld %s %ld", n, LoadText(text::kOf).c_str(), static_cast<long>(registrationCount));
    UpdateProgress([&](ProgressState& progress) { progress.detailLine = detail; });
    RefreshProgress();
    if (!RegisterComponent(entry)) {
      Results().registrationFailed = true;
      return false;
    }
    if (Cancelled()) return false;
  }
  return true;
}

// What became of one list; a failed registration does not stop the lists that follow.
struct ListResult {
  ListOutcome outcome = ListOutcome::Failed;
  bool registrationFailed = false;
};

// The list file, open for reading; the user is told when it does not open.
sys::Result<sys::OwnedFile> OpenList(const std::string& listPath) {
  sys::Result<sys::OwnedFile> list =
      Fs().OpenOwned(listPath, sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
  if (!list.ok()) {
    std::string text;
    AppendFormat(text, "%s: '%s'", LoadText(text::kFailedToOpenFile).c_str(), listPath.c_str());
    LoggedMessageBox(ProgressWindow(), text, Session().captionText, mb::kOk, sys::answer::kOk);
  }
  return list;
}

// Opens the re-registration list again in the registration-keeping modes: its lines
// count as records of the run.
uint32_t ReopenReregistrationList() {
  UpdateRunState& run = UpdateRun();
  if (!run.mode.keepRegistrationList) return 0;
  run.reregistrationList.Close();
  sys::Result<sys::OwnedFile> opened = OpenReregistrationList();
  if (!opened.ok()) return 0;
  run.reregistrationList = std::move(opened.value);
  sys::Result<uint32_t> lines = CountReregistrationRecords(run.reregistrationList.get());
  return lines.ok() ? lines.value : 0;
}

// The list's entries and totals into the run; false when cancelled or unreadable.
bool Analyse(sys::FileHandle list, uint32_t records) {
  std::string checking = LoadText(text::kCheckingFiles);
  UpdateProgress([&](ProgressState& progress) {
    progress.phaseLine = checking;
    progress.showTotals = false;
  });
  RefreshProgress();
  ClearRequiredSpace();
  std::optional<AnalysisTotals> totals = AnalyseFileList(list, records);
  if (!totals) return false;
  UpdateRun().totals = *totals;
  return true;
}

// False (back to the settings) when a drive lacks the space the run needs.
bool EnoughSpace(const AnalysisTotals& totals) {
  AddRequiredSpace(Session().installDir.str(), static_cast<uint64_t>(std::max<int64_t>(totals.requiredBytes, 0)));
  if (Session().updateMode == kUpdateAfterDownload)
    AddRequiredSpace(Places().tempFolder, static_cast<uint64_t>(UpdateRun().downloadDriveBytes));
  if (CheckDiskSpace(ProgressWindow(), Session().captionText) == 0) {
    Results().returnToSettings = true;
    return false;
  }
  return true;
}

// Nothing to install, and nothing left over from an earlier run or asked for a repair.
bool NothingNew(const AnalysisTotals& totals) {
  return totals.installCount == 0 && !Results().previousRunUnfinished && !Session().repairOnly &&
         !Results().netDllsUnregistered;
}

// The installation folder, the services stopped, and the run-result flags and progress
// totals the install passes start from.
bool StartInstallation(const std::string& listPath, const std::string& phase, const AnalysisTotals& totals) {
  WriteLog("Start installation, %s", LocalTimeText().c_str());
  if (Session().debugStatistics) Statistics().installStartTick = Now();
  if (!PrepareInstallationFolder(listPath)) return false;
  if (Session().updateMode != kUpdateAfterDownload) StopServicesBeforeInstalling();
  if (!IsWebLine(Session().productLine.str()) && Session().installMode != kCdCreation)
    UpdateRun().reportRuntimeFlag = Fs().GetAttributes(sys::JoinPath(Places().systemFolder, "U2lk7sys.dll")).ok();

  UpdateProgress([&](ProgressState& progress) {
    progress.showTotals = true;
    progress.phaseLine = phase;
  });
  Results().rebootNeeded = false;
  Results().copyIncomplete = false;
  Results().registrationFailed = false;
  StartInUseList();
  UpdateProgress([&](ProgressState& progress) {
    progress.totalSize = static_cast<int32_t>(totals.downloadBytes);
    progress.copyPhase = IsLanWorkstationMode(Session().installMode);
  });
  return true;
}

// The install passes, then the registration pass; a Tallyo list may follow.
ListResult InstallAndRegister(const AnalysisTotals& totals, uint32_t records) {
  UpdateRunState& run = UpdateRun();
  if (!InstallPasses(totals, records)) {
    StartServicesAgain();
    return {};
  }
  run.reregistrationList.Close();
  UpdateProgress([](ProgressState& progress) { progress.totalDone = progress.totalSize; });
  RefreshProgress();

  ListResult result{ListOutcome::Finished, false};
  if (run.mode.keepRegistrationList && totals.registrationCount >= 1 && !RegistrationPass(totals.registrationCount))
    result.registrationFailed = true;
  if (TallyoListExists() && !run.tallyoPass) {
    run.tallyoPass = true;
    result.outcome = ListOutcome::NextList;
  }
  return result;
}

// One list from its download to its registrations; a workstation run first removes a
// printer driver older than the one the list may bring.
ListResult ProcessList(const std::string& phase) {
  if (!IsWebLine(Session().productLine.str()) && UpdateRun().mode.workstation) RemoveOldNovaPdf(kBeforeUpdate);
  WriteLog("Download file list, %s", LocalTimeText().c_str());
  std::optional<std::string> listPath = ObtainFileList();
  if (!listPath) return {};

  WriteLog("Start Analyses, %s", LocalTimeText().c_str());
  sys::Result<sys::OwnedFile> list = OpenList(*listPath);
  if (!list.ok()) return {};
  std::optional<uint32_t> records = CheckFileList(list.value.get());
  if (!records) return {};
  *records += ReopenReregistrationList();
  if (*records == 0) return {NothingToInstall(true)};

  if (!Analyse(list.value.get(), *records)) return {};
  list.value.Close();  // the list is copied into a network installation below
  const AnalysisTotals& totals = UpdateRun().totals;
  if (!EnoughSpace(totals) || !ConfirmInstallation(totals)) return {};
  if (NothingNew(totals)) return {NothingToInstall(false)};

  if (Results().runCleanReinstall && IsWorkstationMode(Session().installMode)) UninstallBeforeReinstall();
  if (!StartInstallation(*listPath, phase, totals)) return {};
  return InstallAndRegister(totals, *records);
}

}  // namespace

bool RunUpdate() {
  Results().nothingInstalled = false;
  ResetPlacementState();
  UpdateRun().tallyoPass = false;  // a new pass of the settings loop starts with the first list
  UpdateRun().printerDriverInstalling = false;
  UpdateRun().entityServiceBatch.clear();
  UpdateRun().dispatcherServiceBatch.clear();
  if (!PrepareRunMode()) return false;
  LogSettingsSummary();
  std::string phase = Progress().phaseLine.str();
  std::string fileList = LoadText(text::kFileList);
  UpdateProgress([&](ProgressState& progress) {
    progress.itemLine = fileList;
    progress.detailLine.clear();
    progress.runStartTick = 0;
  });
  Site().listTimestamp.clear();
  RefreshProgress();

  const std::string& line = Session().productLine.str();
  if (Session().repairOnly &&
      !Fs().GetAttributes(sys::JoinPath(Session().installDir.str(), MainProgramFile(line))).ok()) {
    Tell(text::kCannotRepair);
    return false;
  }

  bool registrationResult = true;
  while (true) {
    UpdateProgress([&](ProgressState& progress) { progress.phaseLine = phase; });
    ListResult list = ProcessList(phase);
    if (list.registrationFailed) registrationResult = false;
    ListOutcome outcome = list.outcome;
    if (outcome == ListOutcome::Failed) {
      ReleaseRunState();
      return false;
    }
    if (outcome == ListOutcome::NextList) continue;
    if (Results().nothingInstalled) {
      ReleaseRunState();
      return true;
    }
    break;
  }
  ReleaseRunState();
  Results().runCompleted = true;
  StartServicesAfterSuccess(UpdateRun().entityServiceBatch, UpdateRun().dispatcherServiceBatch,
                            Results().convertedOnWorkstation);
  return registrationResult;
}
