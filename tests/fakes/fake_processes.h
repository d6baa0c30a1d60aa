#pragma once
// Other programs on a pretend machine: every start is recorded with its command line
// and options; a rule matching the command line scripts its exit code and how long it
// runs. Waiting moves the fake clock, so a 30-second wait on a hung program costs nothing.
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fakes/fake_clock.h"
#include "fakes/faults.h"
#include "sys/paths.h"
#include "sys/processes.h"

namespace fakes {

enum class ProcessOp { Create, Wait, GetExitCode, Close, ShellExecute, ListProcessNames };

struct ProgramScript {
  uint32_t exitCode = 0;
  uint64_t runsForMilliseconds = 0;  // sys::kWaitForever: it never ends
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

  sys::Result<sys::ProcessHandle> Create(const std::string& commandLine, const sys::StartOptions& options) override {
    if (sys::Error e = faults.Check(ProcessOp::Create, commandLine)) return {e};
    started.push_back(StartedProcess{commandLine, options, errorMode});
    ProgramScript script;
    for (auto& [pattern, rule] : scripts_) {
      if (rule.times == 0 || sys::FoldedCopy(commandLine).find(sys::FoldedCopy(pattern)) == std::string::npos)
        continue;
      if (rule.times > 0) --rule.times;
      script = rule;
      break;
    }
    uint64_t endsAt = script.runsForMilliseconds == sys::kWaitForever
                          ? kNever
                          : clock_.NowFileTime() + script.runsForMilliseconds * kFileTimePerMillisecond;
    processes_[nextHandle_] = Running{endsAt, script.exitCode};
    return {sys::err::kSuccess, sys::ProcessHandle{nextHandle_++}};
  }
  sys::Error Wait(sys::ProcessHandle process, uint32_t milliseconds) override {
    if (sys::Error e = faults.Check(ProcessOp::Wait)) return e;
    auto it = processes_.find(process.id);
    if (it == processes_.end()) return sys::err::kInvalidHandle;
    uint64_t now = clock_.NowFileTime();
    if (it->second.endsAt <= now) return sys::err::kSuccess;
    uint64_t remaining = it->second.endsAt == kNever ? kNever : (it->second.endsAt - now) / kFileTimePerMillisecond;
    if (milliseconds != sys::kWaitForever && remaining > milliseconds) {
      clock_.Advance(milliseconds);
      return sys::err::kWaitTimeout;
    }
    if (it->second.endsAt == kNever) return sys::err::kWaitTimeout;  // a hung program waited for without limit
    clock_.Advance(remaining);
    return sys::err::kSuccess;
  }
  sys::Result<uint32_t> GetExitCode(sys::ProcessHandle process) override {
    if (sys::Error e = faults.Check(ProcessOp::GetExitCode)) return {e};
    auto it = processes_.find(process.id);
    if (it == processes_.end()) return {sys::err::kInvalidHandle};
    bool running = it->second.endsAt > clock_.NowFileTime();
    return {sys::err::kSuccess, running ? sys::err::kStillActive : it->second.exitCode};
  }
  sys::Error Close(sys::ProcessHandle process) override {
    if (sys::Error e = faults.Check(ProcessOp::Close)) return e;
    return processes_.erase(process.id) ? sys::err::kSuccess : sys::err::kInvalidHandle;
  }
  sys::Error ShellExecute(sys::WindowId owner, const std::string& verb, const std::string& file,
                          const std::string& /*parameters*/, const std::string& /*folder*/, int showState) override {
    if (sys::Error e = faults.Check(ProcessOp::ShellExecute, file)) return e;
    shellCalls.push_back(ShellCall{owner, verb, file, showState});
    return sys::err::kSuccess;
  }
  sys::Result<std::vector<std::string>> ListProcessNames() override {
    if (sys::Error e = faults.Check(ProcessOp::ListProcessNames)) return {e};
    return {sys::err::kSuccess, {"System", "smss.exe", "csrss.exe", "winlogon.exe", "explorer.exe"}};
  }
  // Classes and titles compare without letter case, as FindWindow does.
  std::optional<sys::WindowId> FindTopLevelWindow(const std::string& className, const std::string& title) override {
    for (const TopLevelWindow& window : windows)
      if ((className.empty() || sys::EqualsNoCase(window.className, className)) &&
          (title.empty() || sys::EqualsNoCase(window.title, title)))
        return window.id ? window.id : 1;
    return std::nullopt;
  }
  uint32_t SetErrorMode(uint32_t mode) override { return std::exchange(errorMode, mode); }

  // Programs whose command line contains `pattern` (without letter case) follow
  // `script`; the rule added first wins. Unscripted programs end at once with 0.
  void Script(const std::string& pattern, const ProgramScript& script) { scripts_.emplace_back(pattern, script); }

  std::vector<StartedProcess> started;
  std::vector<ShellCall> shellCalls;
  std::vector<TopLevelWindow> windows;
  uint32_t errorMode = 0;
  int OpenHandleCount() const { return static_cast<int>(processes_.size()); }
  Faults<ProcessOp> faults;

 private:
  static constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();
  struct Running {
    uint64_t endsAt;  // FILETIME, or kNever
    uint32_t exitCode;
  };
  std::vector<std::pair<std::string, ProgramScript>> scripts_;
  std::map<uint64_t, Running> processes_;
  uint64_t nextHandle_ = 0x100;
  FakeClock& clock_;
};

}  // namespace fakes
