#include "install/registrationquestion.h"

#include "install/errormodescope.h"
#include "install/registeratlogon.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/os.h"
#include "session/progressstate.h"
#include "session/textids.h"

namespace {

constexpr uint32_t kQuestionStyle = mb::kAbortRetryIgnore | mb::kSetForeground;
constexpr uint32_t kWaitStepMs = 30000;
constexpr uint32_t kUnreadableExitCode = 1;

sys::Processes& Programs() { return *sys::os().processes; }

// How the wait for a started program ended.
enum class WaitEnd { Ended, Ignored, TimedOutUnasked, Aborted };

WaitEnd WaitWithQuestions(sys::ProcessHandle process, const RegistrationProgram& program) {
  while (Programs().Wait(process, kWaitStepMs) == sys::err::kWaitTimeout) {
    if (!program.askOnTimeout) return WaitEnd::TimedOutUnasked;
    int answer = AskRegistrationQuestion(RegistrationText(text::kRegistrationTimeout, "\r\n", program.path));
    if (answer == sys::answer::kAbort) return WaitEnd::Aborted;
    if (answer == sys::answer::kRetry) continue;
    Results().registrationFailed = true;
    return WaitEnd::Ignored;
  }
  return WaitEnd::Ended;
}

// One start of the program: whether it started, was aborted while waiting, or gave an
// exit code.
struct Attempt {
  enum { NotStarted, Aborted, Exited } end = NotStarted;
  uint32_t exitCode = kUnreadableExitCode;
};

Attempt StartAndWait(const RegistrationProgram& program) {
  QuietErrorModeScope quiet;
  sys::Result<sys::ProcessHandle> started = Programs().Create(program.commandLine, program.options);
  if (!started.ok()) return Attempt{};
  Attempt attempt{Attempt::Exited};
  WaitEnd end = WaitWithQuestions(started.value, program);
  if (end == WaitEnd::Aborted) {
    attempt.end = Attempt::Aborted;
  } else if (end != WaitEnd::TimedOutUnasked) {
    // After Ignore the program may still run: its exit code then reads as 259.
    sys::Result<uint32_t> exitCode = Programs().GetExitCode(started.value);
    if (exitCode.ok()) attempt.exitCode = exitCode.value;
  }
  Programs().Close(started.value);
  return attempt;
}

}  // namespace

int AskRegistrationQuestion(const std::string& text) {
  return LoggedMessageBox(ProgressWindow(), text, Session().captionText, kQuestionStyle, sys::answer::kAbort);
}

std::string RegistrationText(uint32_t id, const char* separator, const std::string& rest) {
  return LoadText(id) + separator + rest;
}

ProgramOutcome RunRegistrationProgram(const RegistrationProgram& program) {
  while (true) {
    Attempt attempt = StartAndWait(program);
    if (attempt.end == Attempt::Aborted) return ProgramOutcome::Aborted;
    std::string text;
    if (attempt.end == Attempt::NotStarted) {
      text = RegistrationText(text::kFailedToRegister, "\r\n", "") +
             RegistrationText(text::kFailedToStart, ": ", program.path);
    } else {
      if (attempt.exitCode == 0) return ProgramOutcome::Finished;
      if (Results().rebootNeeded && RegisterAtNextLogon(program.path)) return ProgramOutcome::Finished;
      text = RegistrationText(text::kFailedToRegister, ": ", program.path) + " ";
      // The exit code is shown as the signed number that Windows' %ld gives.
      AppendFormat(text, "(%s: %ld)", LoadText(text::kError).c_str(),
                   static_cast<long>(static_cast<int32_t>(attempt.exitCode)));
    }
    int answer = AskRegistrationQuestion(text);
    if (answer == sys::answer::kAbort) return ProgramOutcome::Aborted;
    if (answer == sys::answer::kRetry) continue;
    Results().registrationFailed = true;
    return ProgramOutcome::Finished;
  }
}
