#include "fakes/fake_desktop.h"

namespace fakes {

namespace {
// The first button of each MessageBox button set (the low four bits of the type).
int FirstButton(uint32_t type) {
  switch (type & 0xF) {
    case 0x2: return sys::answer::kAbort;   // Abort, Retry, Ignore
    case 0x3: return sys::answer::kYes;     // Yes, No, Cancel
    case 0x4: return sys::answer::kYes;     // Yes, No
    case 0x5: return sys::answer::kRetry;   // Retry, Cancel
    case 0x6: return sys::answer::kCancel;  // Cancel, Try Again, Continue
    default: return sys::answer::kOk;       // OK, and OK, Cancel
  }
}
}  // namespace

FakeDesktop::FakeDesktop() {
  osVersion.major = 6;
  osVersion.minor = 1;
  osVersion.build = 7601;
  osVersion.platformId = 2;
  osVersion.servicePack = "Service Pack 1";
  osVersion.servicePackMajor = 1;
  osVersion.productType = 1;
  specialFolders = {
      {sys::csidl::kDesktop, "C:\\Users\\tester\\Desktop"},
      {sys::csidl::kDesktopDirectory, "C:\\Users\\tester\\Desktop"},
      {sys::csidl::kPrograms, "C:\\Users\\tester\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
      {sys::csidl::kStartMenu, "C:\\Users\\tester\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
      {sys::csidl::kStartup, "C:\\Users\\tester\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"},
      {sys::csidl::kSendTo, "C:\\Users\\tester\\AppData\\Roaming\\Microsoft\\Windows\\SendTo"},
      {sys::csidl::kPersonal, "C:\\Users\\tester\\Documents"},
      {sys::csidl::kAppData, "C:\\Users\\tester\\AppData\\Roaming"},
      {sys::csidl::kLocalAppData, "C:\\Users\\tester\\AppData\\Local"},
      {sys::csidl::kFonts, "C:\\Windows\\Fonts"},
      {sys::csidl::kCommonStartMenu, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu"},
      {sys::csidl::kCommonPrograms, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
      {sys::csidl::kCommonDesktopDirectory, "C:\\Users\\Public\\Desktop"},
      {sys::csidl::kCommonAppData, "C:\\ProgramData"},
      {sys::csidl::kCommonDocuments, "C:\\Users\\Public\\Documents"},
      {sys::csidl::kWindows, "C:\\Windows"},
      {sys::csidl::kSystem, "C:\\Windows\\system32"},
      {sys::csidl::kProgramFiles, "C:\\Program Files"},
      {sys::csidl::kProgramFilesCommon, "C:\\Program Files\\Common Files"},
  };
}

int FakeDesktop::MessageBox(sys::WindowId owner, const std::string& text, const std::string& caption, uint32_t type) {
  int answer = 0;
  if (!faults.Check(DesktopOp::MessageBox, text)) {
    answer = answers_.empty() ? FirstButton(type) : answers_.front();
    if (!answers_.empty()) answers_.pop_front();
  }
  boxes.push_back(ShownBox{owner, text, caption, type, answer});
  return answer;
}

sys::Result<std::string> FakeDesktop::GetSpecialFolder(int csidl) {
  if (sys::Error e = faults.Check(DesktopOp::GetSpecialFolder)) return {e};
  auto it = specialFolders.find(csidl);
  if (it == specialFolders.end()) return {sys::err::kFileNotFound};
  return {sys::err::kSuccess, it->second};
}

void FakeDesktop::UseProductStrings(StringTableBuild build) {
  stringLoader = [build](uint32_t id) { return std::string(FindStringEntry(id, build)); };
}

std::string FakeDesktop::LoadString(uint32_t id) {
  auto it = strings.find(id);
  if (it != strings.end()) return it->second;
  return stringLoader ? stringLoader(id) : std::string();
}

}  // namespace fakes
