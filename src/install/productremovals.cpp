#include "install/productremovals.h"

#include "filelist/spreadsheetfolders.h"
#include "install/retryprimitives.h"
#include "platform/externalprogram.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/paths.h"

void UninstallTacton() {
  std::string command = sys::JoinPath(Session().installDir.str(), "bin\\MolvexTactonSetup.exe") + " /U";
  if (sys::Error error = StartAndWait(command, {}))
    WriteLog("The configurator was not uninstalled: '%s' could not be started (%lu)", command.c_str(),
             static_cast<unsigned long>(error));
}

void RemoveSpreadsheetAddIns() {
  LookUpSpreadsheetFolders();
  const KnownPlaces& places = Places();
  if (places.excelLibFolder.empty())
    WriteLog("qs2000.xla was left in place: the spreadsheet's add-in folder is unknown");
  else
    DeleteFileWithRetry(sys::JoinPath(places.excelLibFolder, "qs2000.xla"));
  if (places.excelFolder.empty())
    WriteLog("qs2000i.xla was left in place: the spreadsheet's program folder is unknown");
  else
    DeleteFileWithRetry(sys::JoinPath(places.excelFolder, "XLStart\\qs2000i.xla"));
}
