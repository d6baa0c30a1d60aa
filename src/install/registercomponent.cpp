// One file-list entry's registration, chosen by what the file is: a program, an
// assembly, or a COM library whose "DllRegisterServer" runs inside this process.
#include "install/errormodescope.h"
#include "install/registeratlogon.h"
#include "install/registration.h"
#include "install/registrationquestion.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/files.h"
#include "sys/modules.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "filelist/targetfolder.h"
#include "session/textids.h"

namespace {

constexpr int kKindAssembly = 2;
constexpr int kKindAssemblyWithCodebase = 3;
// The one assembly whose types are found through its code base even at kind 1 or 2.
constexpr const char* kCodebaseAssemblyItem = "Molvex.MEM.Connect.dll-hal";
// The system's XML library refuses a second registration over itself; that is no fault.
constexpr const char* kXmlLibraryItem = "msxml4.dll";

sys::Modules& Libraries() { return *sys::os().modules; }

bool FileExists(const std::string& path) { return sys::os().files->GetAttributes(path).ok(); }

// Frees the library on every way out.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(sys::ModuleHandle module) : module_(module) {}
  ~LoadedLibrary() { Libraries().Free(module_); }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  sys::ModuleHandle get() const { return module_; }

 private:
  sys::ModuleHandle module_;
};

// Runs the library's "DllRegisterServer": true done, ignored or deferred; false Abort.
bool RegisterLoadedLibrary(sys::ModuleHandle module, const std::string& path, bool failureIsExpected) {
  LoadedLibrary library(module);
  sys::Result<sys::EntryPoint> entry = Libraries().FindExport(library.get(), "DllRegisterServer");
  while (!entry.ok()) {
    int answer = AskRegistrationQuestion(RegistrationText(text::kNoRegisterEntryPoint, "\r\n", path));
    if (answer == sys::answer::kAbort) return false;
    if (answer != sys::answer::kRetry) return true;
    entry = Libraries().FindExport(library.get(), "DllRegisterServer");
  }
  while (true) {
    int32_t result = Libraries().CallRegistrationEntry(entry.value);
    if (result >= 0) return true;
    if (failureIsExpected) return true;
    if (Results().rebootNeeded && RegisterAtNextLogon(path)) return true;
    std::string text;
    AppendFormat(text, "%s (0x%lx): %s", LoadText(text::kFailedToRegister).c_str(),
                 static_cast<unsigned long>(static_cast<uint32_t>(result)), path.c_str());
    int answer = AskRegistrationQuestion(text);
    if (answer == sys::answer::kAbort) return false;
    if (answer == sys::answer::kRetry) continue;
    Results().registrationFailed = true;
    return true;
  }
}

bool RegisterLibrary(const std::string& path, const FileEntry& entry) {
  bool failureIsExpected = sys::EqualsNoCase(entry.itemCode.str(), kXmlLibraryItem) && FileExists(path);
  while (true) {
    sys::Result<sys::ModuleHandle> loaded;
    {
      QuietErrorModeScope quiet;
      loaded = Libraries().Load(path);
    }
    if (loaded.ok()) return RegisterLoadedLibrary(loaded.value, path, failureIsExpected);
    WriteLog("Loading %s for registration failed (%s: %lu)", path.c_str(), LoadText(text::kError).c_str(),
             static_cast<unsigned long>(loaded.error));
    if (Results().rebootNeeded && RegisterAtNextLogon(path)) return true;
    if (Session().repairOnly && !FileExists(path)) return true;
    int answer = AskRegistrationQuestion(RegistrationText(text::kFailedToLoadForRegistration, ": ", path));
    if (answer == sys::answer::kAbort) return false;
    if (answer == sys::answer::kRetry) continue;
    Results().registrationFailed = true;
    return true;
  }
}

}  // namespace

bool RegisterComponent(FileEntry& entry) {
  // An empty folder leaves the file name as the whole path (a component found elsewhere).
  std::string folder = ResolveTargetFolder(entry, kPassSingle);
  if (!folder.empty()) Libraries().SetCurrentFolder(folder);
  return RegisterComponentAt(sys::JoinPath(folder, entry.fileName.str()), entry);
}

bool RegisterComponentAt(const std::string& path, const FileEntry& entry) {
  if (sys::EndsWithNoCase(path, ".exe")) return RegisterExe(path);
  if (entry.registrationKind == kKindAssemblyWithCodebase) return RegisterAssembly(path, true, true);
  if (entry.registrationKind == kKindAssembly || HasAssemblyVersion(path)) {
    bool codebase = sys::EqualsNoCase(entry.itemCode.str(), kCodebaseAssemblyItem);
    return RegisterAssembly(path, true, codebase);
  }
  return RegisterLibrary(path, entry);
}
