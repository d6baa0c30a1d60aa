#include "uninstall/uninstall.h"

#include <optional>

#include "filelist/spreadsheetfolders.h"
#include "install/resumedrunentry.h"
#include "install/retryprimitives.h"
#include "install/productshortcuts.h"
#include "install/rebootreplace.h"
#include "install/searchpath.h"
#include "productline/installstatus.h"
#include "productline/productline.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/progressstate.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/desktop.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/processes.h"
#include "transfer/sitesession.h"
#include "uninstall/installationfolders.h"
#include "uninstall/registrycleanup.h"
#include "uninstall/sharedfilewalks.h"
#include "uninstall/uninstallentry.h"
#include "uninstall/unregister.h"

bool removeSharedFiles = false;

namespace {

// The installation program a run left in the temporary folder.
constexpr const char* kLeftInstaller = "einstall.exe";

void ShowPhase(uint32_t textId) {
  UpdateProgress([&](ProgressState& p) { p.phaseLine = LoadText(textId); });
  RefreshProgress();
}

void RunAndWait(const std::string& commandLine, const std::string& folder) {
  sys::Processes& processes = *sys::os().processes;
  sys::StartOptions options;
  options.workingFolder = folder;
  sys::Result<sys::ProcessHandle> started = processes.Create(commandLine, options);
  if (!started.ok()) {
    WriteLog("%s could not be started (error %lu)", commandLine.c_str(), static_cast<unsigned long>(started.error));
    return;
  }
  processes.Wait(started.value, sys::kWaitForever);
  processes.GetExitCode(started.value);  // nothing depends on it
  processes.Close(started.value);
}

// The spreadsheet add-in: its own remover first, then the two add-in files.
void RemoveSpreadsheetAddIn() {
  LookUpSpreadsheetFolders();
  RunAndWait("\"" + sys::JoinPath(Session().installDir.str(), "bin\\DazOvidez.exe") + "\"", "");
  if (!Places().excelLibFolder.empty()) DeleteFileWithRetry(sys::JoinPath(Places().excelLibFolder, "qs2000.xla"));
  if (!Places().excelStartFolder.empty()) {
    std::string above = sys::SplitAtLastBackslash(sys::WithoutTrailingBackslash(Places().excelStartFolder)).folder;
    DeleteFileWithRetry(sys::JoinPath(above, "XLStart\\qs2000i.xla"));
  }
}

// What the desktop lines added outside the installation folder.
void RemoveDesktopExtras() {
  RemoveFromSearchPath();
  RemoveSpreadsheetAddIn();
  RunAndWait("\"" + sys::JoinPath(UninstallProductFolder(), "MolvexTactonSetup.exe") + "\" /U",
             UninstallProductFolder());
}

void RemoveShortcuts(const std::string& line) {
  ShowPhase(text::kRemovingShortcuts);
  for (int folder : {sys::csidl::kCommonDesktopDirectory, sys::csidl::kCommonStartMenu, sys::csidl::kDesktopDirectory,
                     sys::csidl::kStartMenu})
    MakeProductShortcuts(true, folder);
  if (IsLine(line, line::kKS)) {
    MakeProductShortcuts(true, sys::csidl::kPrograms);
    MakeProductShortcuts(true, sys::csidl::kCommonPrograms);
  }
  if (IsLineOneOf(line, {line::kQK2003, line::kQS2003E, line::kQS2003SE})) MakeSendToShortcut(true);
}

}  // namespace

void RunUninstall() {
  const SessionSettings& s = Session();
  const std::string line = s.productLine.str();
  const bool webLine = IsWebLine(line);
  WriteLog("Uninstall of %s (%s), %s", s.installDir.c_str(), line.c_str(), LocalTimeText().c_str());

  Site().listTimestamp.clear();
  UpdateProgress([](ProgressState& p) {
    p.detailLine = "";
    p.runStartTick = 0;
  });
  if (!webLine) RemoveResumedRun();
  SetInstallStatus("Uninstalling");
  if (!webLine) WriteLog("The removal of the PDF printer was passed over: this build does not install it");
  if (!webLine && !IsLineOneOf(line, {line::kDORVAL5, line::kKS})) RemoveDesktopExtras();
  if (IsLine(line, line::kFYNDRA)) WriteLog("Stopping the web server was passed over: this build does not control it");
  if (IsLineOneOf(line, {line::kQS2000, line::kQS2003E, line::kQS2003, line::kQS2003SE}))
    WriteLog("The removal of the entity and synchronisation services was passed over: this build does not install them");
  if (IsLine(line, line::kHalomirNet))
    WriteLog("The post-update uninstall command was passed over: this build does not install it");

  ShowPhase(text::kUnregisteringFiles);
  for (bool common : {false, true}) {
    UnregisterFolderLibraries("dll", common);
    UnregisterFolderLibraries("ocx", common);
  }
  UnregisterRecordedPrograms();
  if (removeSharedFiles) UnregisterUnusedSharedFiles();

  ShowPhase(text::kDeletingFiles);
  if (removeSharedFiles) DeleteUnusedSharedFiles();
  if (DeleteInstallationFolders(s.installDir.str())) WriteLog("Parts of %s could not be deleted", s.installDir.c_str());
  DeleteDirectoryTree(CommonSharedFolder());

  RemoveShortcuts(line);
  ShowPhase(text::kCleaningRegistry);
  CleanUpRegistry();
  DeleteUninstallEntry();
  if (s.hasAdminRights) ScheduleReplaceAtReboot(Places().tempFolder + kLeftInstaller, std::nullopt, true);
  if (IsLine(line, line::kFYNDRA)) WriteLog("Starting the web server was passed over: this build does not control it");
  WriteLog("Uninstall of %s ended, %s", s.installDir.c_str(), LocalTimeText().c_str());
}
