#pragma once
// The user's side of a pretend machine: message boxes answered from a script and
// recorded; special folders, names, OS version, program path and command line as
// fields; the string table from a map the test fills, else from `stringLoader`.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/faults.h"
#include "sys/desktop.h"
#include "ui/strings/stringtable.h"

namespace fakes {

enum class DesktopOp { MessageBox, GetSpecialFolder };

struct ShownBox {
  sys::WindowId owner = 0;
  std::string text;
  std::string caption;
  uint32_t type = 0;
  int answer = 0;
};

class FakeDesktop : public sys::Desktop {
 public:
  FakeDesktop();

  int MessageBox(sys::WindowId owner, const std::string& text, const std::string& caption, uint32_t type) override;
  sys::Result<std::string> GetSpecialFolder(int csidl) override;
  std::string GetWindowsFolder() override { return windowsFolder; }
  std::string GetSystemFolder() override { return systemFolder; }
  std::string GetTempFolder() override { return tempFolder; }
  std::string GetUserName() override { return userName; }
  std::string GetComputerName() override { return computerName; }
  sys::OsVersion GetOsVersion() override { return osVersion; }
  std::string GetProgramPath() override { return programPath; }
  std::string GetCommandLine() override { return commandLine; }
  std::string LoadString(uint32_t id) override;
  // No error has a text here (as a number the system has no text for).
  std::string GetErrorText(sys::Error) override { return std::string(); }
  sys::Error RestartSystem() override { return sys::err::kSuccess; }

  // The answers the next boxes get, in order. With the script empty a box gets its
  // default button (the first: OK, Abort, Yes or Retry), as when the user presses Enter.
  void QueueAnswers(std::initializer_list<int> answers) { answers_.insert(answers_.end(), answers); }
  // Every box shown, in order.
  std::vector<ShownBox> boxes;

  std::map<int, std::string> specialFolders;  // CSIDL -> path; an absent number answers 2
  std::string windowsFolder = "C:\\Windows";
  std::string systemFolder = "C:\\Windows\\system32";
  std::string tempFolder = "C:\\Users\\tester\\AppData\\Local\\Temp\\";
  std::string userName = "tester";
  std::string computerName = "WS-TEST";
  sys::OsVersion osVersion;  // Windows 7 SP1 workstation until a test says otherwise
  std::string programPath = "C:\\Setup\\Plandrix_T17_AE.exe";
  std::string commandLine;
  // Entries a test sets win over the loader; the loader serves the product's table.
  std::map<uint32_t, std::string> strings;
  std::function<std::string(uint32_t)> stringLoader;
  // Serves the product's own string table of `build` through `stringLoader`.
  void UseProductStrings(StringTableBuild build = StringTableBuild::kFnc);

  Faults<DesktopOp> faults;  // a failing MessageBox answers 0 (no box)

 private:
  std::deque<int> answers_;
};

}  // namespace fakes
