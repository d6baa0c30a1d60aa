#include "install/directories.h"
#include "install/placementstate.h"
#include "install/retryprimitives.h"
#include "productline/installstatus.h"
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

bool HoldsServices(const std::string& line) {
  return IsLineOneOf(line, {line::kFYNDRA, line::kQS2000, line::kQS2003E, line::kQS2003, line::kQS2003SE});
}

void ControlServices(bool start) {
  const std::string& line = Session().productLine.str();
  if (Session().installMode == kCdCreation || !HoldsServices(line)) return;
  if (Steps().controlServices)
    Steps().controlServices(start);
  else
    WriteLog("Service control is not available in this build; services of %s left as they are", line.c_str());
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
  if (CreateDirectoryPath(installDir, true) == 0) return false;
  if (!IsLineOneOf(line, {line::kDORVAL5, line::kKS})) CreateOneDirectory(sys::JoinPath(installDir, "usr"));
  if (IsNetworkMode(Session().installMode) || Session().installMode == kCdCreation) {
    std::string copy = sys::JoinPath(installDir, IsTallyoLine(line) ? "Tallyo.lst" : "HalomirPlandrix.lst");
    if (CopyFileWithRetry(listPath, copy, false) == 0) {
      Results().returnToSettings = true;
      return false;
    }
    if (Session().installMode == kCdNetwork) Fs().SetAttributes(copy, sys::attr::kNormal);
  }
  return true;
}

// Marks the installation unfinished and removes a pending resume before files change.
void BeginInstalling() {
  if (UpdateRun().mode.workstation && Steps().removeResumedRun) Steps().removeResumedRun();
  SetInstallStatus(std::string("Updating"));
}

bool InstallPasses(const AnalysisTotals& totals, uint32_t records) {
  auto stopWatch = []() {
    if (Session().debugStatistics) Statistics().installSeconds = (Now() - Statistics().installStartTick) / 1000;
  };
  if (Session().updateMode != kUpdateAfterDownload) {
    BeginInstalling();
    bool ok = InstallEntries(records, kPassSingle);
    stopWatch();
    return ok;
  }
  bool ok = InstallEntries(records, kPassToCache);
  stopWatch();
  if (!ok) return false;
  ControlServices(false);
  Progress().phaseLine = "Installing downloaded files";
  Progress().totalSize = static_cast<int32_t>(totals.installedBytes);
  Progress().copyPhase = true;
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
  Progress().phaseLine = "Registering component:" + std::string(20, ' ');
  Progress().itemLine.clear();
  Progress().detailLine.clear();
  RefreshProgress();
  bool office = OfficeSuiteInstalled();
  long n = 0;
  for (FileEntry& entry : UpdateRun().entries) {
    if (entry.registrationKind < 1) continue;
    const std::string& name = entry.fileName.str();
    if ((sys::EqualsNoCase(name, "CRMOfficeAddIn.dll") || sys::EqualsNoCase(name, "HRWordAddIn.dll")) &&
        (!office || Results().outlook64Bit))
      continue;
    Progress().itemLine = name;
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
    Progress().detailLine = detail;
    RefreshProgress();
    if (!Steps().registerComponent) {
      WriteLog("Component registration is not available in this build; not registered: %s", name.c_str());
      Results().registrationFailed = true;
      return false;
    }
    if (Steps().registerComponent(entry) == 0) {
      Results().registrationFailed = true;
      return false;
    }
    if (Cancelled()) return false;
  }
  return true;
}

// One list from its download to its registrations.
ListOutcome ProcessList(const std::string& phase, bool& registrationResult) {
  UpdateRunState& run = UpdateRun();
  const std::string& line = Session().productLine.str();
  uint32_t records = 0;
  if (!IsWebLine(line) && run.mode.workstation && Steps().preparePrinterDriver) Steps().preparePrinterDriver(1);

  WriteLog("Download file list, %s", LocalTimeText().c_str());
  std::string listPath;
  if (!ObtainFileList(listPath)) return ListOutcome::Failed;

  WriteLog("Start Analyses, %s", LocalTimeText().c_str());
  sys::Result<sys::FileHandle> list =
      Fs().Open(listPath, sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
  if (!list.ok()) {
    std::string text;
    AppendFormat(text, "%s: '%s'", LoadText(text::kFailedToOpenFile).c_str(), listPath.c_str());
    LoggedMessageBox(ProgressWindow(), text, Session().captionText, mb::kOk, sys::answer::kOk);
    return ListOutcome::Failed;
  }
  struct Closer {
    sys::FileHandle handle;
    ~Closer() { Close(); }
    void Close() {
      if (handle) sys::os().files->Close(handle);
      handle = {};
    }
  } closer{list.value};
  if (!CheckFileList(list.value, records)) return ListOutcome::Failed;

  if (run.mode.keepRegistrationList) {
    if (run.reregistrationList) Fs().Close(run.reregistrationList);
    run.reregistrationList = {};
    if (sys::Result<sys::FileHandle> reregistration = OpenReregistrationList(); reregistration.ok()) {
      run.reregistrationList = reregistration.value;
      if (sys::Result<uint32_t> lines = CountReregistrationRecords(run.reregistrationList); lines.ok())
        records += lines.value;
    }
  }
  if (records == 0) return NothingToInstall(true);

  Progress().phaseLine = LoadText(text::kCheckingFiles);
  Progress().showTotals = false;
  RefreshProgress();
  AnalysisTotals totals;
  ClearRequiredSpace();
  if (!AnalyseFileList(list.value, records, totals)) return ListOutcome::Failed;
  closer.Close();  // the list is copied into a network installation below
  run.totals = totals;

  AddRequiredSpace(Session().installDir.str(), static_cast<uint64_t>(std::max<int64_t>(totals.requiredBytes, 0)));
  if (Session().updateMode == kUpdateAfterDownload) AddRequiredSpace(Places().tempFolder, static_cast<uint64_t>(run.downloadDriveBytes));
  if (CheckDiskSpace(ProgressWindow(), Session().captionText) == 0) {
    Results().returnToSettings = true;
    return ListOutcome::Failed;
  }
  if (!ConfirmInstallation(totals)) return ListOutcome::Failed;

  if (totals.installCount == 0 && !Results().previousRunUnfinished && !Session().repairOnly &&
      !Results().netDllsUnregistered)
    return NothingToInstall(false);

  if (Results().runCleanReinstall && IsWorkstationMode(Session().installMode)) {
    if (Steps().uninstallBeforeReinstall) {
      bool silent = Session().silent;
      Session().silent = true;
      Steps().uninstallBeforeReinstall();
      Session().silent = silent;
    } else {
      WriteLog("The clean reinstall is not available in this build; installing over the existing files");
    }
  }

  WriteLog("Start installation, %s", LocalTimeText().c_str());
  if (Session().debugStatistics) Statistics().installStartTick = Now();
  if (!PrepareInstallationFolder(listPath)) return ListOutcome::Failed;
  if (Session().updateMode != kUpdateAfterDownload) ControlServices(false);
  if (!IsWebLine(line) && Session().installMode != kCdCreation)
    run.reportRuntimeFlag = Fs().GetAttributes(sys::JoinPath(Places().systemFolder, "U2lk7sys.dll")).ok();

  Progress().showTotals = true;
  Progress().phaseLine = phase;
  Results().rebootNeeded = false;
  Results().copyIncomplete = false;
  Results().registrationFailed = false;
  StartInUseList();
  Progress().totalSize = static_cast<int32_t>(totals.downloadBytes);
  Progress().copyPhase = IsLanWorkstationMode(Session().installMode);

  if (!InstallPasses(totals, records)) {
    ControlServices(true);
    return ListOutcome::Failed;
  }
  if (run.reregistrationList) Fs().Close(run.reregistrationList);
  run.reregistrationList = {};
  Progress().totalDone = Progress().totalSize;
  RefreshProgress();

  if (run.mode.keepRegistrationList && totals.registrationCount >= 1 && !RegistrationPass(totals.registrationCount))
    registrationResult = false;

  if (!TallyoListExists() || run.tallyoPass) return ListOutcome::Finished;
  run.tallyoPass = true;
  return ListOutcome::NextList;
}

}  // namespace

bool RunUpdate() {
  Results().nothingInstalled = false;
  ResetPlacementState();
  UpdateRun().tallyoPass = false;  // a new pass of the settings loop starts with the first list
  UpdateRun().printerDriverInstalling = false;
  if (!PrepareRunMode()) return false;
  LogSettingsSummary();
  std::string phase = Progress().phaseLine.str();
  Progress().itemLine = LoadText(text::kFileList);
  Site().listTimestamp.clear();
  Progress().detailLine.clear();
  Progress().runStartTick = 0;
  RefreshProgress();

  const std::string& line = Session().productLine.str();
  if (Session().repairOnly &&
      !Fs().GetAttributes(sys::JoinPath(Session().installDir.str(), MainProgramFile(line))).ok()) {
    Tell(text::kCannotRepair);
    return false;
  }

  bool registrationResult = true;
  while (true) {
    Progress().phaseLine = phase;
    ListOutcome outcome = ProcessList(phase, registrationResult);
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
  if (HoldsServices(line) && Session().installMode != kCdCreation) {
    if (Steps().restartServicesAfterRun)
      Steps().restartServicesAfterRun();
    else
      ControlServices(true);
  }
  return registrationResult;
}
