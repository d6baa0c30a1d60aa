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
  // A failing box answers 0 (none shown). With the script empty a box gets its default
  // button, the first of its set (OK, Abort, Yes or Retry), as when the user presses Enter.
  int MessageBox(sys::WindowId owner, const std::string& text, const std::string& caption, uint32_t type) override {
    static const std::map<uint32_t, int> kFirstButton = {{2, sys::answer::kAbort}, {3, sys::answer::kYes},
                                                         {4, sys::answer::kYes},   {5, sys::answer::kRetry},
                                                         {6, sys::answer::kCancel}};
    int answer = 0;
    if (!faults.Check(DesktopOp::MessageBox, text)) {
      auto it = kFirstButton.find(type & 0xF);
      answer = it == kFirstButton.end() ? sys::answer::kOk : it->second;
      if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
      }
    }
    boxes.push_back(ShownBox{owner, text, caption, type, answer});
    return answer;
  }
  sys::Result<std::string> GetSpecialFolder(int csidl) override {
    if (sys::Error e = faults.Check(DesktopOp::GetSpecialFolder)) return {e};
    auto it = specialFolders.find(csidl);
    if (it == specialFolders.end()) return {sys::err::kFileNotFound};
    return {sys::err::kSuccess, it->second};
  }
  std::string GetWindowsFolder() override { return windowsFolder; }
  std::string GetSystemFolder() override { return systemFolder; }
  std::string GetTempFolder() override { return tempFolder; }
  std::string GetUserName() override { return userName; }
  std::string GetComputerName() override { return "WS-TEST"; }
  sys::OsVersion GetOsVersion() override { return osVersion; }
  std::string GetProgramPath() override { return programPath; }
  std::string GetCommandLine() override { return commandLine; }
  std::string LoadString(uint32_t id) override {
    auto it = strings.find(id);
    if (it != strings.end()) return it->second;
    return stringLoader ? stringLoader(id) : std::string();
  }
  // No error has a text here (as a number the system has no text for).
  std::string GetErrorText(sys::Error) override { return std::string(); }
  sys::Error RestartSystem() override { return sys::err::kSuccess; }

  void QueueAnswers(std::initializer_list<int> answers) { answers_.insert(answers_.end(), answers); }
  std::vector<ShownBox> boxes;

  std::map<int, std::string> specialFolders = {{sys::csidl::kPersonal, "C:\\Users\\tester\\Documents"}};
  std::string windowsFolder = "C:\\Windows";
  std::string systemFolder = "C:\\Windows\\system32";
  std::string tempFolder = "C:\\Users\\tester\\AppData\\Local\\Temp\\";
  std::string userName = "tester";
  sys::OsVersion osVersion{6, 1, 7601, 2, "Service Pack 1", 1, 1};  // Windows 7 SP1 workstation
  std::string programPath = "C:\\Setup\\Plandrix_T17_AE.exe";
  std::string commandLine;
  // Entries a test sets win over the loader.
  std::map<uint32_t, std::string> strings;
  std::function<std::string(uint32_t)> stringLoader;
  // Serves the product's own string table of `build`.
  void UseProductStrings(StringTableBuild build = StringTableBuild::kFnc) {
    stringLoader = [build](uint32_t id) { return std::string(FindStringEntry(id, build)); };
  }

  Faults<DesktopOp> faults;

 private:
  std::deque<int> answers_;
};

}  // namespace fakes
