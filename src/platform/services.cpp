#include "platform/services.h"

#include <mutex>

#include "platform/externalprogram.h"
#include "productline/productline.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/paths.h"

namespace {

struct GroupTexts {
  const char* program;   // in the system folder
  const char* argument;  // after the action
  const char* stopping;
  const char* starting;
};

const GroupTexts& TextsOf(ServiceGroup group) {
  static const GroupTexts kGroups[] = {
      {"iisreset.exe", "", "Attempting to stop the Internet Information Services..",
       "Attempting to start the internet information services.."},
      {"net.exe", " \"dbserver 1\"", "Attempting to stop the db++ Services..", "Attempting to start the db++ Services.."},
      {"net.exe", " \"MolvexEntityService\"", "Attempting to stop the Molvex Entity Services..",
       "Attempting to start the Molvex Entity Services.."},
      {"net.exe", " \"MolvexSynchronizationDispatcherMonitor_QS\"", "Attempting to stop the Molvex Entity Services..",
       "Attempting to start the Molvex Entity Services.."},
  };
  return kGroups[static_cast<int>(group)];
}

// Shows the step, runs the program to its end and clears the step again. A program that
// cannot be started changes nothing more; the log says so.
void RunStep(const std::string& title, const std::string& commandLine, const sys::StartOptions& options) {
  ShowBusyStep(title, " ", " ");
  if (sys::Error error = StartAndWait(commandLine, options))
    WriteLog("%s was passed over: it could not be started (%s %lu)", commandLine.c_str(),
             LoadText(text::kError).c_str(), static_cast<unsigned long>(error));
  EndBusyStep();
}

// The window's Cancel starts the services on its own thread while the run may be in the
// middle of stopping them: the steps take turns, and once a cancel is asked nothing is
// stopped any more, so every service that was stopped is started again exactly once.
std::mutex& ControlTurn() {
  static std::mutex turn;
  return turn;
}

void ControlGroup(ServiceGroup group, const std::string& action) {
  std::lock_guard lock(ControlTurn());
  bool& started = StartedServices().started[static_cast<int>(group)];
  bool start = action == "START";
  if (start && started) return;
  if (!start && cancelRequested.load() != 0) return;
  started = start;
  const GroupTexts& texts = TextsOf(group);
  std::string program = sys::JoinPath(Places().systemFolder, texts.program);
  // The web server tool takes " /STOP"; the service commands "STOP \"name\"".
  bool webServer = group == ServiceGroup::WebServer;
  std::string commandLine = webServer ? program + " /" + action : program + " " + action + texts.argument;
  RunStep(start ? texts.starting : texts.stopping, commandLine, WithoutConsole(webServer));
}

std::string Installing(const char* what) { return LoadText(text::kInstalling) + ": " + what; }

std::string InInstallation(const char* folder, const char* file) {
  return sys::JoinPath(sys::JoinPath(Session().installDir.str(), folder), file);
}

bool RunsEntityServices(const std::string& line) {
  return IsLineOneOf(line, {line::kQS2000, line::kQS2003E, line::kQS2003, line::kQS2003SE});
}

// FYNDRA and the QS lines run services over their files; a CD image touches none.
bool ControlsServices() {
  const std::string& line = Session().productLine.str();
  return Session().installMode != kCdCreation && (IsLine(line, line::kFYNDRA) || RunsEntityServices(line));
}

}  // namespace

ServiceGuards& StartedServices() {
  static ServiceGuards guards;
  return guards;
}

void ControlWebServer(const std::string& action) { ControlGroup(ServiceGroup::WebServer, action); }
void ControlDatabaseServer(const std::string& action) { ControlGroup(ServiceGroup::DatabaseServer, action); }
void ControlEntityService(const std::string& action) { ControlGroup(ServiceGroup::EntityService, action); }
void ControlSyncMonitor(const std::string& action) { ControlGroup(ServiceGroup::SyncMonitor, action); }

bool InstallEntityService(const std::string& command) {
  if (command.empty()) {
    WriteLog("The entity service was not installed: the run delivered no install batch for it");
    return false;
  }
  RunStep(Installing("Molvex Entity Service"), command, {});
  return true;
}

bool InstallSyncService(const std::string& command) {
  if (command.empty()) {
    WriteLog("The synchronization service was not installed: the run delivered no install batch for it");
    return false;
  }
  RunStep(Installing("Molvex Synchronization Service"), command, {});
  return true;
}

void RunMigrationTool() {
  RunStep(Installing("Molvex Migration tool"), InInstallation("bin", "ZorMigration.exe"), {});
}

void UninstallEntityService() {
  RunStep("Uninstalling Molvex Entity Service", InInstallation("services", "UninstallMolvexEntityService.bat"), {});
}

void UninstallSyncService() {
  RunStep("Uninstalling Molvex Synchronization Service",
          InInstallation("services", "UninstallMSFDispatcherServiceQS.bat"), {});
}

void RunPostUpdateUninstall() {
  RunStep("Running Post Update Command", InInstallation("cab", "MHEPostUpdateUninstall.cmd"), {});
}

namespace {

// "STOP" or "START" for the services that hold the line's files.
void ControlRunServices(const std::string& action) {
  if (!ControlsServices()) return;
  if (IsLine(Session().productLine, line::kFYNDRA)) {
    ControlWebServer(action);
    return;
  }
  ControlEntityService(action);
  ControlSyncMonitor(action);
}

}  // namespace

void StopServicesBeforeInstalling() { ControlRunServices("STOP"); }

void StartServicesAgain() { ControlRunServices("START"); }

void StartServicesAfterSuccess(const std::string& entityBatch, const std::string& syncBatch, bool converted) {
  if (ControlsServices()) {
    if (IsLine(Session().productLine, line::kFYNDRA)) {
      ControlWebServer("START");
    } else {
      InstallEntityService(entityBatch);
      ControlEntityService("START");
      InstallSyncService(syncBatch);
      ControlSyncMonitor("START");
    }
  }
  if (converted) RunMigrationTool();
}
