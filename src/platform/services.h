#pragma once
// The services that hold a product line's files while they run: the web server for
// FYNDRA, the entity service and the synchronisation monitor for the QS lines. They are
// stopped before the files are replaced and started again afterwards; each step starts
// one program in the system folder (or a batch file the run placed) and waits for it.
#include <string>

// A group is started at most once after each stop: a START while the group's guard is
// set does nothing.
enum class ServiceGroup { WebServer, DatabaseServer, EntityService, SyncMonitor };
struct ServiceGuards {
  bool started[4] = {false, false, false, false};
};
ServiceGuards& StartedServices();

// "STOP" or "START".
void ControlWebServer(const std::string& action);
void ControlDatabaseServer(const std::string& action);
void ControlEntityService(const std::string& action);
void ControlSyncMonitor(const std::string& action);

// The install batches the run placed (false, and nothing run, when it placed none), the
// migration tool of a converted workstation, and the removals of the uninstall run.
bool InstallEntityService(const std::string& command);
bool InstallSyncService(const std::string& command);
void RunMigrationTool();
void UninstallEntityService();
void UninstallSyncService();
void RunPostUpdateUninstall();

// The order around an update run for the session's product line; nothing in mode 5.
void StopServicesBeforeInstalling();
// After a failed or cancelled run.
void StartServicesAgain();
// After a successful run, with the install batches it placed and whether the run
// converted this workstation's product line.
void StartServicesAfterSuccess(const std::string& entityBatch, const std::string& syncBatch, bool converted);
