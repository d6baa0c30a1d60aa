#pragma once
// Other programs on a pretend machine: every start is recorded with its command line
// and options; what a program does is scripted by a rule matching its command line
// (exit code, how long it runs, an effect on the machine such as files it writes).
// Waiting moves the fake clock, so a 30-second wait on a hung program costs nothing.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/faults.h"
#include "sys/processes.h"

namespace fakes {

enum class ProcessOp { Create, Wait, GetExitCode, Close, ShellExecute, ListProcessNames };

// What a started program does.
struct ProgramScript {
  uint32_t exitCode = 0;
  uint64_t runsForMilliseconds = 0;  // sys::kWaitForever: it never ends
  std::function<void()> effect;      // runs at the start (files written, keys set …)
  int times = -1;                    // how many starts the rule serves; -1 for good
};

struct StartedProcess {
  std::string commandLine;
  sys::StartOptions options;
  uint32_t errorMode = 0;  // the error mode in force at the start
};

struct ShellCall {
  sys::WindowId owner = 0;
  std::string verb;
  std::string file;
  std::string parameters;
  std::string folder;
  int showState = 0;
};

struct TopLevelWindow {
  std::string className;
  std::string title;
  sys::WindowId id = 0;
};

class FakeProcesses : public sys::Processes {
 public:
  explicit FakeProcesses(FakeClock& clock) : clock_(clock) {}

  sys::Result<sys::ProcessHandle> Create(const std::string& commandLine, const sys::StartOptions& options) override;
  sys::Error Wait(sys::ProcessHandle process, uint32_t milliseconds) override;
  sys::Result<uint32_t> GetExitCode(sys::ProcessHandle process) override;
  sys::Error Close(sys::ProcessHandle process) override;
  sys::Error ShellExecute(sys::WindowId owner, const std::string& verb, const std::string& file,
                          const std::string& parameters, const std::string& folder, int showState) override;
  sys::Result<std::vector<std::string>> ListProcessNames() override;
  std::optional<sys::WindowId> FindTopLevelWindow(const std::string& className, const std::string& title) override;
  uint32_t SetErrorMode(uint32_t mode) override;

  // Programs whose command line contains `pattern` (without letter case) follow
  // `script`; the rule added first wins. Unscripted programs end at once with 0.
  void Script(const std::string& pattern, const ProgramScript& script);

  std::vector<StartedProcess> started;
  std::vector<ShellCall> shellCalls;
  std::vector<std::string> runningProcesses = {"System", "smss.exe", "csrss.exe", "winlogon.exe", "explorer.exe"};
  std::vector<TopLevelWindow> windows;
  uint32_t errorMode = 0;
  // Handles not closed yet.
  int OpenHandleCount() const { return static_cast<int>(processes_.size()); }

  Faults<ProcessOp> faults;

 private:
  struct Running {
    uint64_t endsAt;  // FILETIME, or UINT64_MAX for never
    uint32_t exitCode;
  };
  std::vector<std::pair<std::string, ProgramScript>> scripts_;
  std::map<uint64_t, Running> processes_;
  uint64_t nextHandle_ = 0x100;
  FakeClock& clock_;
};

}  // namespace fakes
