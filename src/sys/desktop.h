#pragma once
// The user's side of the machine: message boxes, special folders, names, the running
// program and the operating system's version.
#include <cstdint>
#include <string>

#include "sys/result.h"

namespace sys {

// MessageBox answers, same numbers.
namespace answer {
constexpr int kOk = 1;
constexpr int kCancel = 2;
constexpr int kAbort = 3;
constexpr int kRetry = 4;
constexpr int kIgnore = 5;
constexpr int kYes = 6;
constexpr int kNo = 7;
}  // namespace answer

// A window of the program, opaque above the seam; 0 is "no owner".
using WindowId = uint64_t;

// CSIDL numbers of the special folders the program asks for.
namespace csidl {
constexpr int kDesktop = 0x0000;
constexpr int kPrograms = 0x0002;
constexpr int kPersonal = 0x0005;  // the documents folder
constexpr int kStartup = 0x0007;
constexpr int kSendTo = 0x0009;
constexpr int kStartMenu = 0x000b;
constexpr int kDesktopDirectory = 0x0010;
constexpr int kFonts = 0x0014;
constexpr int kCommonStartMenu = 0x0016;
constexpr int kCommonPrograms = 0x0017;
constexpr int kCommonDesktopDirectory = 0x0019;
constexpr int kAppData = 0x001a;
constexpr int kLocalAppData = 0x001c;
constexpr int kCommonAppData = 0x0023;
constexpr int kWindows = 0x0024;
constexpr int kSystem = 0x0025;
constexpr int kProgramFiles = 0x0026;
constexpr int kProgramFilesCommon = 0x002b;
constexpr int kCommonDocuments = 0x002e;
}  // namespace csidl

// GetVersionEx's facts.
struct OsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platformId = 0;  // 1 = the older family (9x), 2 = the NT family
  std::string servicePack;  // szCSDVersion
  uint16_t servicePackMajor = 0;
  uint8_t productType = 0;  // 1 workstation, 2 domain controller, 3 server
  uint16_t suiteMask = 0;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  // MessageBox: the answer, or 0 when no box could be shown.
  virtual int MessageBox(WindowId owner, const std::string& text, const std::string& caption, uint32_t type) = 0;
  // SHGetSpecialFolderPath for a CSIDL number; 2 when the system has no such folder.
  virtual Result<std::string> GetSpecialFolder(int csidl) = 0;
  virtual std::string GetWindowsFolder() = 0;
  virtual std::string GetSystemFolder() = 0;
  // GetTempPath, with its trailing backslash as the system gives it.
  virtual std::string GetTempFolder() = 0;
  virtual std::string GetUserName() = 0;
  virtual std::string GetComputerName() = 0;
  virtual OsVersion GetOsVersion() = 0;
  // The full path of the running program.
  virtual std::string GetProgramPath() = 0;
  // The raw command line after the program name (as the driver hands it to PrepareSession).
  virtual std::string GetCommandLine() = 0;
  // The system's message text for a Win32 error number (default language, at most 1024
  // bytes); empty when the system has none. An adapter without message tables has none.
  virtual std::string GetErrorText(Error error) {
    (void)error;
    return "";
  }
  // Enables the shutdown privilege (NT family) and asks Windows to restart without forcing
  // programs closed: 0 when the restart is on its way, else the error of the failed call.
  virtual Error RestartSystem() { return 50; }  // ERROR_NOT_SUPPORTED where it cannot
  // An entry of the program's own string table; empty when absent.
  virtual std::string LoadString(uint32_t id) = 0;
};

}  // namespace sys
