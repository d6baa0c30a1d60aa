#include "app/finalmessage.h"

#include "productline/installstatus.h"
#include "session/log.h"
#include "session/pathtext.h"
#include "productline/productline.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/desktop.h"
#include "sys/os.h"
#include "sys/processes.h"

namespace {

// The web server's process among the running ones (never on NT 4).
bool WebServerRunning() {
  constexpr int kNt4Code = 4;
  sys::Processes* processes = sys::os().processes;
  if (processes == nullptr || Session().osCode == kNt4Code) return false;
  auto names = processes->ListProcessNames();
  if (!names.ok()) return false;
  for (const std::string& name : names.value) {
    if (sys::EqualsNoCase(name, "inetinfo.exe")) return true;
  }
  return false;
}

void StartInstalledProduct() {
  sys::Processes* processes = sys::os().processes;
  sys::Desktop* desktop = sys::os().desktop;
  if (processes == nullptr) return;
  ProductStart start = ProductStartFor(desktop != nullptr ? desktop->GetComputerName() : std::string{});
  if (start.useShell) {
    processes->ShellExecute(0, "open", start.command, "", "", sys::show::kNormal);
    return;
  }
  sys::StartOptions options;
  options.workingFolder = start.workingFolder;
  auto started = processes->Create(start.command, options);
  if (started.ok()) {
    processes->Close(started.value);
  } else {
    // A product without its start file (no "PlandrixInstaller.bat") is not an error.
    WriteLog("%s was not started (%s %u)", start.command.c_str(), LoadText(text::kError).c_str(), started.error);
  }
}

}  // namespace

std::string WorkstationCompletionText(bool webServerRunning) {
  const SessionSettings& settings = Session();
  std::string text = LoadText(text::kInstallationCompleted);
  if (settings.installMode != kLanWorkstationUpdate) {
    if (IsLine(settings.productLine, line::kFYNDRA)) {
      text += "\r\n\r\n" + LoadText(text::kWebProductNote);
    } else if (IsLineOneOf(settings.productLine, {line::kQS2003E, line::kQS2003SE}) && webServerRunning) {
      text += "\r\n\r\n" + LoadText(text::kWebServerNote);
    }
  }
  if (Results().convertedProductLine) text += "\r\n" + LoadText(text::kConversionNote);
  return text;
}

ProductStart ProductStartFor(const std::string& computerName) {
  const SessionSettings& settings = Session();
  const std::string& installDir = settings.installDir;
  ProductStart start;
  if (IsWebLine(settings.productLine)) {
    start.useShell = true;
    start.command = WebProductAddress(computerName, settings.virtualDir.str());
  } else if (IsLine(settings.productLine, line::kDORVAL5)) {
    start.command = "\"" + sys::JoinPath(installDir, "sis\\quarzel.exe") + "\" -" + Results().mainExecutableCode.str();
  } else if (IsLine(settings.productLine, line::kKS)) {
    start.command = "\"" + sys::JoinPath(installDir, "bin\\salvix.exe") + "\"";
    start.workingFolder = sys::JoinPath(installDir, "rels");
  } else {
    start.command = "\"" + sys::JoinPath(settings.programDir.str(), "PlandrixInstaller.bat") + "\"";
  }
  return start;
}

void ShowFinalMessage() {
  const SessionSettings& settings = Session();
  // A CD image is a copy, not an installation: it keeps no status and says nothing.
  if (settings.installMode == kCdCreation) {
    WriteLog("Finished, %s", LocalTimeText().c_str());
    return;
  }
  SetInstallStatus(std::nullopt);
  if (!Results().isWorkstation) {
    LoggedMessageBox(0, LoadText(text::kInstallationCompleted), settings.captionText, mb::kOk | mb::kSetForeground,
                     sys::answer::kOk);
  } else {
    WriteLog("%s", LoadText(text::kInstallationCompleted).c_str());
    sys::Desktop* desktop = sys::os().desktop;
    if (!settings.silent && desktop != nullptr) {
      desktop->MessageBox(0, WorkstationCompletionText(WebServerRunning()), settings.captionText, mb::kOk);
    }
    StartInstalledProduct();
  }
  WriteLog("Finished, %s", LocalTimeText().c_str());
}
