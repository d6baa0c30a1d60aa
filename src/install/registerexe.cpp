// A program file registers itself as a COM server when started with "/RegServer".
#include "install/registration.h"
#include "install/registrationquestion.h"
#include "install/sharedfiles.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/os.h"

bool RegisterExe(const std::string& path) {
  RegistrationProgram program;
  AppendFormat(program.commandLine, "\"%s\" /RegServer", path.c_str());
  program.path = path;
  // A repair leaves alone what is not there.
  if (Session().repairOnly && !sys::os().files->GetAttributes(path).ok()) return true;
  if (RunRegistrationProgram(program) == ProgramOutcome::Aborted) return false;
  RecordRegisteredExe(path);
  return true;
}
