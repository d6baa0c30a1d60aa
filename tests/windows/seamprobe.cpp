// seamprobe WORKDIR [ARGS…] runs the seam contract and a few facts of the adapter alone
// under Wine: "ok NAME" or "FAIL NAME: detail" per check, the failed checks' number as exit
// code. "--child MS CODE" sleeps, then exits with CODE; "--hold FILE SHARE MS [READY RELEASE]"
// holds FILE open (letting others SHARE) for MS ms, makes READY, lets go once RELEASE exists.
#include "sys/win32/winapi.h"  // first: CoInitialize without the A/W renames

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "seam/contract.h"
#include "sys/clock.h"
#include "sys/desktop.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/processes.h"
#include "sys/win32/win32os.h"

namespace {

// Other programs are copies of this one, started with --hold or --child.
class WineBench : public seam::Bench {
 public:
  WineBench(const std::string& workFolder, const std::string& name) {
    folder = sys::JoinPath(workFolder, name);
    key = "Software\\PlandrixProbe\\" + name;
    sys::os().files->CreateDirectory(folder);
  }
  void HoldOpen(const std::string& path) override { Start("\"" + Self() + "\" --hold \"" + path + "\" 1 4000"); }
  void RunFrom(const std::string& path) override {
    sys::os().files->CopyFile(Self(), path, false);
    Start("\"" + path + "\" --child 4000 0");
  }
  void Release() override {
    for (sys::ProcessHandle child : children_) {
      sys::os().processes->Wait(child, sys::kWaitForever);
      sys::os().processes->Close(child);
    }
    children_.clear();
  }
  std::string ChildCommand(uint32_t milliseconds, uint32_t code) override {
    return "\"" + Self() + "\" --child " + std::to_string(milliseconds) + " " + std::to_string(code);
  }

 private:
  static std::string Self() { return sys::os().desktop->GetProgramPath(); }
  void Start(const std::string& commandLine) {
    auto child = sys::os().processes->Create(commandLine, {});
    if (child.ok()) children_.push_back(child.value);
    sys::os().clock->Sleep(1000);  // time for the child to open its file
  }
  std::vector<sys::ProcessHandle> children_;
};

int failures = 0;

void Report(const char* name, const std::vector<std::string>& problems) {
  if (problems.empty()) std::printf("ok %s\n", name);
  for (const std::string& problem : problems) std::printf("FAIL %s: %s\n", name, problem.c_str());
  failures += problems.empty() ? 0 : 1;
}

// What only the adapter has to say and no installation scenario shows (those place
// files in the system, fonts, temp and documents folders, pick the NT variant, read
// version resources and INI files beside the program).
void CheckAdapterFacts(const std::string& workFolder, const std::string& expectedArguments) {
  WineBench bench(workFolder, "AdapterFacts");
  sys::Desktop& desktop = *sys::os().desktop;
  SEAM_EQ(desktop.GetCommandLine(), expectedArguments);
  SEAM_TRUE(!desktop.GetUserName().empty() && !desktop.GetComputerName().empty());
  SEAM_TRUE(desktop.LoadString(64999).empty());
  SEAM_TRUE(!desktop.GetErrorText(sys::err::kFileNotFound).empty());
  auto names = sys::os().processes->ListProcessNames();
  bool listed = false;
  for (const std::string& name : names.value) listed = listed || sys::EqualsNoCase(name, "seamprobe.exe");
  SEAM_TRUE(listed);
  SEAM_TRUE(!sys::os().processes->Create("C:\\none\\none.exe", {}).ok());
  Report("AdapterFacts", bench.failures);
}

}  // namespace

int main(int argc, char** argv) {
  InstallWin32Os(GetModuleHandleA(nullptr));
  CoInitialize(nullptr);  // the shortcut objects need it, as the program's threads have it
  if ((argc == 5 || argc == 7) && std::string(argv[1]) == "--hold") {
    sys::Files& files = *sys::os().files;
    auto held = files.Open(argv[2], sys::FileAccess::Read, std::atoi(argv[3]), sys::Disposition::OpenExisting);
    if (!held.ok()) return 3;
    if (argc == 7) seam::WriteFile(argv[5], "held");
    for (int waited = 0; waited < std::atoi(argv[4]) && !(argc == 7 && files.GetAttributes(argv[6]).ok()); waited += 100)
      sys::os().clock->Sleep(100);
    files.Close(held.value);
    return 0;
  }
  if (argc == 4 && std::string(argv[1]) == "--child") {
    sys::os().clock->Sleep(static_cast<uint32_t>(std::atoi(argv[2])));
    return std::atoi(argv[3]);
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: seamprobe WORKDIR [ARGS...]\n");
    return 255;
  }
  for (const seam::Check& check : seam::Checks()) {
    WineBench bench(argv[1], check.name);
    check.run(bench);
    bench.Release();
    Report(check.name, bench.failures);
  }
  // What the program should see after its own name: the rest of the line, as typed.
  std::string arguments;
  for (int i = 1; i < argc; ++i) arguments += (i > 1 ? " " : "") + std::string(argv[i]);
  CheckAdapterFacts(argv[1], arguments);
  std::printf("failures=%d\n", failures);
  return failures;
}
