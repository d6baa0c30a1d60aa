#pragma once
// Other programs: start one and wait for it, read its exit code, hand a document or an
// address to the shell, look at what is running. Command lines are ANSI byte strings
// passed to the system exactly as formed (quotes are the caller's business).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sys/desktop.h"
#include "sys/result.h"

namespace sys {

namespace err {
constexpr Error kWaitTimeout = 258;   // WAIT_TIMEOUT: the process is still running
constexpr Error kStillActive = 259;   // STILL_ACTIVE as an exit code
}  // namespace err

// ShowWindow numbers used when starting programs.
namespace show {
constexpr int kHide = 0;
constexpr int kNormal = 1;
constexpr int kMinimized = 2;
constexpr int kMaximized = 3;
constexpr int kDefault = 10;
}  // namespace show

// SetErrorMode bits: fail critical errors, no open-file error box.
namespace errormode {
constexpr uint32_t kFailCriticalErrors = 0x1;
constexpr uint32_t kNoOpenFileErrorBox = 0x8000;
}  // namespace errormode

// A started process. 0 is never a valid handle.
struct ProcessHandle {
  uint64_t id = 0;
  explicit operator bool() const { return id != 0; }
};

struct StartOptions {
  std::string workingFolder;   // empty: the caller's current folder
  int showState = show::kDefault;  // kDefault leaves the start-up record empty
  bool inheritHandles = false;
  bool noConsoleWindow = false;  // CREATE_NO_WINDOW
};

// Waits "without limit".
constexpr uint32_t kWaitForever = 0xFFFFFFFF;

class Processes {
 public:
  virtual ~Processes() = default;

  // CreateProcess with the whole command line (no separate application name); the
  // handle must be closed with Close. 2 when the program file is absent.
  virtual Result<ProcessHandle> Create(const std::string& commandLine, const StartOptions& options) = 0;
  // Waits until the process ends: 0 when it has ended, 258 when `milliseconds` passed first.
  virtual Error Wait(ProcessHandle process, uint32_t milliseconds) = 0;
  // GetExitCodeProcess: the exit code, 259 while it still runs; an error when unreadable.
  virtual Result<uint32_t> GetExitCode(ProcessHandle process) = 0;
  virtual Error Close(ProcessHandle process) = 0;

  // ShellExecute with a verb ("open"): 0 when the shell accepted it, else a Win32 error.
  virtual Error ShellExecute(WindowId owner, const std::string& verb, const std::string& file,
                             const std::string& parameters, const std::string& folder, int showState) = 0;

  // Image names ("inetinfo.exe") of the running processes, from a process snapshot.
  virtual Result<std::vector<std::string>> ListProcessNames() = 0;
  // A top-level window with this class and/or title (an empty text matches any); none is not an error.
  virtual std::optional<WindowId> FindTopLevelWindow(const std::string& className, const std::string& title) = 0;

  // SetErrorMode for this process: the previous mode.
  virtual uint32_t SetErrorMode(uint32_t mode) = 0;
};

}  // namespace sys
