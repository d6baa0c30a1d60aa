#pragma once
// What the registration steps share: their Abort/Retry/Ignore question and the run of a
// registration program (the component itself or the assembly tool) with its time-out
// and exit-code questions.
#include <string>

#include "sys/processes.h"

// The registration question over the progress window: logged, no icon, brought to the
// foreground; a silent run answers Abort. Returns the answer (sys::answer::…).
int AskRegistrationQuestion(const std::string& text);

// "<string id><separator>" followed by `rest`, the shape of every registration question.
std::string RegistrationText(uint32_t id, const char* separator, const std::string& rest);

enum class ProgramOutcome { Finished, Aborted };

struct RegistrationProgram {
  std::string commandLine;
  std::string path;             // the component, for the questions and the next-logon entry
  sys::StartOptions options;
  bool askOnTimeout = true;     // false: a time-out stops waiting and counts as exit code 1
};

// Starts the program, waits for it in 30-second steps and judges its exit code, asking
// about each failure. Finished covers success, a failure accepted because the component
// was deferred to the next logon, and Ignore (which sets `registrationFailed`).
ProgramOutcome RunRegistrationProgram(const RegistrationProgram& program);
