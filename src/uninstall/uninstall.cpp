#include "uninstall/uninstall.h"

#include <optional>

#include "install/resumedrunentry.h"
#include "install/retryprimitives.h"
#include "install/printerdriver.h"
#include "install/productremovals.h"
#include "install/productshortcuts.h"
#include "install/rebootreplace.h"
#include "install/searchpath.h"
#include "platform/externalprogram.h"
#include "platform/services.h"
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

// The spreadsheet add-in's own remover, started before its files go.
void RunDazOvidez() {
  const std::string command = "\"" + sys::JoinPath(Session().installDir.str(), "bin\\DazOvidez.exe") + "\"";
  if (sys::Error error = StartAndWait(command, {}))
    WriteLog("%s could not be started (%lu)", command.c_str(), static_cast<unsigned long>(error));
}

// What the desktop lines added outside the installation folder.
void RemoveDesktopExtras() {
  RemoveFromSearchPath();
  RunDazOvidez();
  RemoveSpreadsheetAddIns();
  UninstallTacton();
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
  if (!webLine) RemoveOldNovaPdf(kAtUninstall);
  if (!webLine && !IsLineOneOf(line, {line::kDORVAL5, line::kKS})) RemoveDesktopExtras();
  if (IsLine(line, line::kFYNDRA)) ControlWebServer("STOP");
  if (IsLineOneOf(line, {line::kQS2000, line::kQS2003E, line::kQS2003, line::kQS2003SE})) {
    UninstallEntityService();
    UninstallSyncService();
  }
  if (IsLine(line, line::kHalomirNet)) RunPostUpdateUninstall();

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
  if (IsLine(line, line::kFYNDRA)) ControlWebServer("START");
  WriteLog("Uninstall of %s ended, %s", s.installDir.c_str(), LocalTimeText().c_str());
}
