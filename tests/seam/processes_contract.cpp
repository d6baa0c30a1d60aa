// Other programs: a wait that times out says so, a wait to the end gives the exit code.
#include "seam/contract.h"
#include "sys/os.h"
#include "sys/processes.h"

namespace {

namespace err = sys::err;

SEAM_CHECK(ProcessesRunTheirCourse) {
  sys::Processes& processes = *sys::os().processes;
  auto child = processes.Create(bench.ChildCommand(3000, 3), {});
  SEAM_EQ(child.error, err::kSuccess);
  SEAM_EQ(processes.Wait(child.value, 100), err::kWaitTimeout);
  SEAM_EQ(processes.Wait(child.value, sys::kWaitForever), err::kSuccess);
  SEAM_EQ(processes.GetExitCode(child.value).value, 3u);
  SEAM_EQ(processes.Close(child.value), err::kSuccess);
  const uint32_t quiet = sys::errormode::kFailCriticalErrors | sys::errormode::kNoOpenFileErrorBox;
  uint32_t previous = processes.SetErrorMode(quiet);
  SEAM_EQ(processes.SetErrorMode(previous), quiet);
}

}  // namespace
