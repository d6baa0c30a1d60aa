#include "platform/externalprogram.h"

#include "session/progressstate.h"
#include "sys/os.h"

sys::Error StartAndWait(const std::string& commandLine, const sys::StartOptions& options, uint32_t milliseconds) {
  sys::Processes* processes = sys::os().processes;
  sys::Result<sys::ProcessHandle> started = processes->Create(commandLine, options);
  if (!started.ok()) return started.error;
  processes->Wait(started.value, milliseconds);
  processes->Close(started.value);
  return sys::err::kSuccess;
}

sys::StartOptions WithoutConsole(bool inheritHandles) {
  sys::StartOptions options;
  options.noConsoleWindow = true;
  options.inheritHandles = inheritHandles;
  return options;
}

void ShowBusyStep(const std::string& title, const std::string& item, const std::string& detail) {
  UpdateProgress([&](ProgressState& progress) {
    progress.phaseLine = title;
    progress.itemLine = item;
    progress.detailLine = detail;
    progress.showTotals = false;
    progress.clearWholeWindow = true;
  });
  RefreshProgress();
}

void EndBusyStep(const std::string& title) {
  UpdateProgress([&](ProgressState& progress) {
    progress.phaseLine = title;
    progress.clearWholeWindow = false;
  });
  RefreshProgress();
}
