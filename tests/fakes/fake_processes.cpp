#include "fakes/fake_processes.h"

#include <algorithm>
#include <limits>

#include "sys/paths.h"

namespace fakes {

using sys::Error;
namespace err = sys::err;

namespace {
constexpr uint64_t kFileTimePerMillisecond = 10000;
constexpr uint64_t kNever = std::numeric_limits<uint64_t>::max();

bool ContainsNoCase(const std::string& text, const std::string& pattern) {
  return sys::FoldedCopy(text).find(sys::FoldedCopy(pattern)) != std::string::npos;
}
}  // namespace

void FakeProcesses::Script(const std::string& pattern, const ProgramScript& script) {
  scripts_.emplace_back(pattern, script);
}

sys::Result<sys::ProcessHandle> FakeProcesses::Create(const std::string& commandLine,
                                                      const sys::StartOptions& options) {
  if (Error e = faults.Check(ProcessOp::Create, commandLine)) return {e};
  started.push_back(StartedProcess{commandLine, options, errorMode});
  ProgramScript script;
  for (auto& [pattern, rule] : scripts_) {
    if (rule.times == 0 || !ContainsNoCase(commandLine, pattern)) continue;
    if (rule.times > 0) --rule.times;
    script = rule;
    break;
  }
  if (script.effect) script.effect();
  uint64_t endsAt = script.runsForMilliseconds == sys::kWaitForever
                        ? kNever
                        : clock_.NowFileTime() + script.runsForMilliseconds * kFileTimePerMillisecond;
  uint64_t id = nextHandle_++;
  processes_[id] = Running{endsAt, script.exitCode};
  return {sys::err::kSuccess, sys::ProcessHandle{id}};
}

Error FakeProcesses::Wait(sys::ProcessHandle process, uint32_t milliseconds) {
  if (Error e = faults.Check(ProcessOp::Wait)) return e;
  auto it = processes_.find(process.id);
  if (it == processes_.end()) return err::kInvalidHandle;
  uint64_t now = clock_.NowFileTime();
  if (it->second.endsAt <= now) return err::kSuccess;
  uint64_t remaining = it->second.endsAt == kNever ? kNever : (it->second.endsAt - now) / kFileTimePerMillisecond;
  if (milliseconds != sys::kWaitForever && remaining > milliseconds) {
    clock_.Advance(milliseconds);
    return err::kWaitTimeout;
  }
  if (it->second.endsAt == kNever) return err::kWaitTimeout;  // a hung program waited for without limit
  clock_.Advance(remaining);
  return err::kSuccess;
}

sys::Result<uint32_t> FakeProcesses::GetExitCode(sys::ProcessHandle process) {
  if (Error e = faults.Check(ProcessOp::GetExitCode)) return {e};
  auto it = processes_.find(process.id);
  if (it == processes_.end()) return {err::kInvalidHandle};
  if (it->second.endsAt > clock_.NowFileTime()) return {sys::err::kSuccess, err::kStillActive};
  return {sys::err::kSuccess, it->second.exitCode};
}

Error FakeProcesses::Close(sys::ProcessHandle process) {
  if (Error e = faults.Check(ProcessOp::Close)) return e;
  return processes_.erase(process.id) ? err::kSuccess : err::kInvalidHandle;
}

Error FakeProcesses::ShellExecute(sys::WindowId owner, const std::string& verb, const std::string& file,
                                  const std::string& parameters, const std::string& folder, int showState) {
  if (Error e = faults.Check(ProcessOp::ShellExecute, file)) return e;
  shellCalls.push_back(ShellCall{owner, verb, file, parameters, folder, showState});
  return err::kSuccess;
}

sys::Result<std::vector<std::string>> FakeProcesses::ListProcessNames() {
  if (Error e = faults.Check(ProcessOp::ListProcessNames)) return {e};
  return {sys::err::kSuccess, runningProcesses};
}

std::optional<sys::WindowId> FakeProcesses::FindTopLevelWindow(const std::string& className,
                                                               const std::string& title) {
  for (const TopLevelWindow& window : windows) {
    // FindWindow compares classes and titles without letter case.
    if (!className.empty() && !sys::EqualsNoCase(window.className, className)) continue;
    if (!title.empty() && !sys::EqualsNoCase(window.title, title)) continue;
    return window.id ? window.id : 1;
  }
  return std::nullopt;
}

uint32_t FakeProcesses::SetErrorMode(uint32_t mode) {
  uint32_t previous = errorMode;
  errorMode = mode;
  return previous;
}

}  // namespace fakes
