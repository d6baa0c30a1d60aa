// Runs the Win32 adapter of the OS seam against a real system (Wine in the end-to-end
// tests) and checks the facts the in-memory fake promises, so that fake and adapter
// cannot drift apart unnoticed:
//
//   seamprobe WORKDIR [ARGS…]      checks; one "ok NAME" or "FAIL NAME: detail" line each
//   seamprobe --child MS CODE      sleeps MS milliseconds and exits with CODE
//   seamprobe --hold FILE MS       holds FILE open for reading for MS milliseconds
//
// WORKDIR is an existing empty folder. Exit code: the number of failed checks.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sys/clock.h"
#include "sys/desktop.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/processes.h"
#include "sys/profiles.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"
#include "sys/win32/win32os.h"

namespace {

int failures = 0;

void Expect(const char* name, bool passed, const std::string& detail = "") {
  if (passed) {
    std::printf("ok %s\n", name);
  } else {
    std::printf("FAIL %s: %s\n", name, detail.c_str());
    ++failures;
  }
}

std::string Number(uint64_t value) { return std::to_string(value); }

void CheckRegistry() {
  using sys::Hive;
  using sys::RegistryView;
  sys::Registry& registry = *sys::os().registry;
  const std::string key = "Software\\PlandrixProbe\\Mixed Case";
  Expect("registry.create", registry.CreateKey(Hive::CurrentUser, key, RegistryView::Native) == 0);
  sys::SetString(Hive::CurrentUser, key, "Folder", "C:\\Fin");
  Expect("registry.case", sys::QueryString(Hive::CurrentUser, "SOFTWARE\\plandrixprobe\\MIXED CASE", "folder") ==
                              std::optional<std::string>("C:\\Fin"));
  auto raw = registry.QueryValue(Hive::CurrentUser, key, "Folder", RegistryView::Native);
  Expect("registry.nul", raw.value.data == std::string("C:\\Fin\0", 7), Number(raw.value.data.size()));
  sys::SetString(Hive::CurrentUser, key, "Expand", "%TEMP%", sys::ValueType::ExpandString);
  auto expand = registry.QueryValue(Hive::CurrentUser, key, "Expand", RegistryView::Native);
  Expect("registry.type", expand.value.type == sys::ValueType::ExpandString);
  sys::SetDword(Hive::CurrentUser, key, "Count", 0x01020304);
  Expect("registry.dword", sys::QueryDword(Hive::CurrentUser, key, "Count") == std::optional<uint32_t>(0x01020304));
  Expect("registry.absent",
         registry.QueryValue(Hive::CurrentUser, key, "Nothing", RegistryView::Native).error == sys::err::kFileNotFound);
  Expect("registry.absentkey", registry.OpenKey(Hive::CurrentUser, "Software\\PlandrixProbe\\None",
                                                sys::KeyAccess::Read, RegistryView::Native) == sys::err::kFileNotFound);

  registry.CreateKey(Hive::CurrentUser, "Software\\PlandrixProbe\\beta", RegistryView::Native);
  registry.CreateKey(Hive::CurrentUser, "Software\\PlandrixProbe\\Alpha", RegistryView::Native);
  auto subKeys = registry.EnumSubKeys(Hive::CurrentUser, "Software\\PlandrixProbe", RegistryView::Native);
  Expect("registry.enum", subKeys.value == std::vector<std::string>{"Alpha", "beta", "Mixed Case"},
         subKeys.value.empty() ? "none" : subKeys.value[0]);
  auto values = registry.EnumValueNames(Hive::CurrentUser, key, RegistryView::Native);
  Expect("registry.values", values.value.size() == 3, Number(values.value.size()));
  Expect("registry.deletefull", registry.DeleteKey(Hive::CurrentUser, "Software\\PlandrixProbe",
                                                   RegistryView::Native) == sys::err::kAccessDenied);
  Expect("registry.deletevalue", registry.DeleteValue(Hive::CurrentUser, key, "Count", RegistryView::Native) == 0);
  Expect("registry.delete", registry.DeleteKey(Hive::CurrentUser, "Software\\PlandrixProbe\\beta",
                                               RegistryView::Native) == 0);

  Expect("registry.descriptor", registry.CreateKeyWithDescriptor(Hive::LocalMachine, "Software\\PlandrixProbeAcl",
                                                                  "D:(A;OICI;KA;;;WD)") == 0);
  Expect("registry.baddescriptor",
         registry.CreateKeyWithDescriptor(Hive::LocalMachine, "Software\\PlandrixProbeBad", "no descriptor") != 0 &&
             registry.OpenKey(Hive::LocalMachine, "Software\\PlandrixProbeBad", sys::KeyAccess::Read,
                              RegistryView::Native) == sys::err::kFileNotFound);

  registry.CreateKey(Hive::LocalMachine, "Software\\PlandrixProbe32", RegistryView::Wow32);
  Expect("registry.wow32", registry.OpenKey(Hive::LocalMachine, "Software\\Wow6432Node\\PlandrixProbe32",
                                            sys::KeyAccess::Read, RegistryView::Native) == 0);
}

void CheckProfiles(const std::string& folder) {
  sys::Profiles& profiles = *sys::os().profiles;
  sys::Files& files = *sys::os().files;
  const std::string ini = sys::JoinPath(folder, "probe.ini");
  Expect("profiles.create", profiles.WriteString(ini, "Setup", std::string("Release"), std::string("17.0")) == 0);
  profiles.WriteString(ini, "SETUP", std::string("RELEASE"), std::string("  \"17.1 \"  "));
  profiles.WriteString(ini, "setup", std::string("Mode"), std::string("4 modes"));
  Expect("profiles.trimquotes", profiles.GetString(ini, "Setup", "release", "", 260) == "17.1 ",
         profiles.GetString(ini, "Setup", "release", "", 260));
  Expect("profiles.capacity", profiles.GetString(ini, "Setup", "Release", "", 3) == "17");
  Expect("profiles.default", profiles.GetString(ini, "Setup", "None", "dflt", 260) == "dflt");
  Expect("profiles.int", profiles.GetInt(ini, "Setup", "Mode", 9) == 4);
  profiles.WriteString(ini, "Setup", std::string("Empty"), std::string(""));
  profiles.WriteString(ini, "Setup", std::string("Single"), std::string("'x'"));
  profiles.WriteString(ini, "Setup", std::string("Half"), std::string("\"open"));
  Expect("profiles.intempty", profiles.GetInt(ini, "Setup", "Empty", 9) == 9,
         Number(profiles.GetInt(ini, "Setup", "Empty", 9)));
  Expect("profiles.single", profiles.GetString(ini, "Setup", "Single", "", 260) == "x");
  Expect("profiles.half", profiles.GetString(ini, "Setup", "Half", "", 260) == "\"open");
  Expect("profiles.defaulttrim", profiles.GetString(ini, "Setup", "None", "dflt  ", 260) == "dflt");
  profiles.WriteString(ini, "Setup", std::string("Empty"), std::nullopt);
  profiles.WriteString(ini, "Setup", std::string("Single"), std::nullopt);
  profiles.WriteString(ini, "Setup", std::string("Half"), std::nullopt);
  auto keys = profiles.GetKeys(ini, "setup");
  Expect("profiles.keys", keys == std::vector<std::string>{"Release", "Mode"}, Number(keys.size()));
  profiles.WriteString(ini, "Setup", std::string("Mode"), std::nullopt);
  Expect("profiles.deletekey", profiles.GetKeys(ini, "Setup").size() == 1);
  profiles.WriteString(ini, "Setup", std::nullopt, std::nullopt);
  Expect("profiles.deletesection", profiles.GetKeys(ini, "Setup").empty());
  Expect("profiles.file", files.GetAttributes(ini).ok());
}

std::string WriteFile(sys::Files& files, const std::string& path, const std::string& text) {
  auto handle = files.Open(path, sys::FileAccess::Write, 0, sys::Disposition::CreateAlways);
  if (!handle.ok()) return "open " + Number(handle.error);
  auto written = files.Write(handle.value, text.data(), static_cast<uint32_t>(text.size()));
  files.Close(handle.value);
  return written.ok() ? "" : "write " + Number(written.error);
}

void CheckFiles(const std::string& folder) {
  sys::Files& files = *sys::os().files;
  const std::string path = sys::JoinPath(folder, "Data.TXT");
  Expect("files.write", WriteFile(files, path, "hello world").empty());
  Expect("files.case", files.GetAttributes(sys::JoinPath(folder, "data.txt")).ok());
  Expect("files.missing", files.GetAttributes(sys::JoinPath(folder, "none.txt")).error == sys::err::kFileNotFound);
  Expect("files.missingfolder",
         files.GetAttributes(sys::JoinPath(folder, "none\\none.txt")).error == sys::err::kPathNotFound);

  auto reader = files.Open(path, sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
  auto writer = files.Open(path, sys::FileAccess::Write, sys::share::kRead, sys::Disposition::OpenExisting);
  Expect("files.share", writer.error == sys::err::kSharingViolation, Number(writer.error));
  Expect("files.deletelocked", files.DeleteFile(path) == sys::err::kSharingViolation);
  char buffer[32] = {};
  auto got = files.Read(reader.value, buffer, sizeof buffer);
  Expect("files.read", got.ok() && std::string(buffer, got.value) == "hello world");
  auto end = files.Read(reader.value, buffer, sizeof buffer);
  Expect("files.eof", end.ok() && end.value == 0);
  files.Close(reader.value);

  auto cut = files.Open(path, sys::FileAccess::ReadWrite, 0, sys::Disposition::OpenExisting);
  files.Seek(cut.value, 5, sys::SeekFrom::Begin);
  Expect("files.setend", files.SetEndOfFile(cut.value) == 0);
  Expect("files.size", files.GetSize(cut.value).value == 5);
  sys::FileTimes stamp;
  stamp.lastWrite = 132000000000000000ull;
  Expect("files.settimes", files.SetTimes(cut.value, stamp) == 0);
  Expect("files.gettimes", files.GetTimes(cut.value).value.lastWrite == stamp.lastWrite);
  files.Close(cut.value);

  Expect("files.copy", files.CopyFile(path, sys::JoinPath(folder, "copy.txt"), false) == 0);
  Expect("files.copyexists", files.CopyFile(path, sys::JoinPath(folder, "copy.txt"), true) == sys::err::kFileExists);
  Expect("files.moveexists", files.MoveFile(path, sys::JoinPath(folder, "copy.txt"), 0) == sys::err::kAlreadyExists);
  Expect("files.move", files.MoveFile(path, sys::JoinPath(folder, "copy.txt"), sys::move::kReplaceExisting) == 0);
  Expect("files.mkdir", files.CreateDirectory(sys::JoinPath(folder, "Sub")) == 0);
  Expect("files.mkdirexists", files.CreateDirectory(sys::JoinPath(folder, "sub")) == sys::err::kAlreadyExists);
  Expect("files.accesslist",
         files.CreateDirectoryWithAccessList(sys::JoinPath(folder, "Shared"), "D:(A;OICI;FA;;;AU)") == 0);
  sys::Error badList = files.CreateDirectoryWithAccessList(sys::JoinPath(folder, "Bad"), "everyone");
  Expect("files.badaccesslist", badList == 1338, Number(badList));
  WriteFile(files, sys::JoinPath(folder, "Sub\\inner.dll"), "x");
  Expect("files.rmdirfull", files.RemoveDirectory(sys::JoinPath(folder, "Sub")) == sys::err::kDirNotEmpty);

  auto found = files.Find(sys::JoinPath(folder, "*.txt"));
  Expect("files.find", found.ok() && found.value.size() == 1 && found.value[0].name == "copy.txt",
         Number(found.value.size()));
  auto none = files.Find(sys::JoinPath(folder, "*.none"));
  Expect("files.findnone", none.ok() && none.value.empty(), Number(none.error));
  Expect("files.findmissing", files.Find(sys::JoinPath(folder, "none\\*")).error == sys::err::kPathNotFound);

  // Wine keeps only the read-only bit (in the file's mode) where the file system has no
  // extended attributes, and reports every other file as archive; Windows reports a file
  // without attributes as normal (0x80). Both are accepted for the cleared file.
  const std::string copy = sys::JoinPath(folder, "copy.txt");
  Expect("files.readonly", files.SetAttributes(copy, sys::attr::kReadOnly) == 0 &&
                               (files.GetAttributes(copy).value & sys::attr::kReadOnly),
         Number(files.GetAttributes(copy).value));
  Expect("files.cleared", files.SetAttributes(copy, sys::attr::kNormal) == 0);
  uint32_t cleared = files.GetAttributes(copy).value;
  Expect("files.normal", cleared == sys::attr::kNormal || cleared == sys::attr::kArchive, Number(cleared));

  auto temp = files.CreateTempFile(folder, "pdxprobe");
  Expect("files.temp", temp.ok() && sys::EndsWithNoCase(temp.value, ".tmp") && files.GetAttributes(temp.value).ok(),
         temp.value);
  Expect("files.delayed", files.MoveFile(temp.value, "", sys::move::kDelayUntilReboot) == 0);

  auto volume = files.GetVolumeInfo("C:\\");
  Expect("files.volume", volume.ok() && !volume.value.fileSystem.empty(), volume.value.fileSystem);
  Expect("files.space", files.GetDiskSpace(folder).value.total > 0);
  auto clusters = files.GetClusterInfo("C:\\");
  Expect("files.clusters", clusters.ok() && clusters.value.bytesPerSector > 0);
  Expect("files.shortpath", files.GetShortPath(folder).ok());
  Expect("files.shortmissing", files.GetShortPath(sys::JoinPath(folder, "none")).error == sys::err::kFileNotFound);

  std::string kernel = sys::JoinPath(sys::os().desktop->GetSystemFolder(), "kernel32.dll");
  auto version = files.GetFileVersion(kernel);
  Expect("files.version", version.ok() && version.value[0] > 0, Number(version.error));
  Expect("files.noversion", !files.GetFileVersion(sys::JoinPath(folder, "copy.txt")).ok());
}

void CheckDesktop(const std::string& expectedArguments) {
  sys::Desktop& desktop = *sys::os().desktop;
  Expect("desktop.arguments", desktop.GetCommandLine() == expectedArguments, desktop.GetCommandLine());
  Expect("desktop.program", sys::EndsWithNoCase(desktop.GetProgramPath(), "\\seamprobe.exe"), desktop.GetProgramPath());
  Expect("desktop.windows", sys::EqualsNoCase(desktop.GetWindowsFolder(), "C:\\windows"), desktop.GetWindowsFolder());
  Expect("desktop.system", sys::EndsWithNoCase(desktop.GetSystemFolder(), "\\system32"), desktop.GetSystemFolder());
  std::string temp = desktop.GetTempFolder();
  Expect("desktop.temp", !temp.empty() && temp.back() == '\\', temp);
  Expect("desktop.documents", desktop.GetSpecialFolder(sys::csidl::kPersonal).ok());
  Expect("desktop.user", !desktop.GetUserName().empty());
  Expect("desktop.computer", !desktop.GetComputerName().empty());
  Expect("desktop.version", desktop.GetOsVersion().platformId == 2 && desktop.GetOsVersion().major >= 5);
  Expect("desktop.nostring", desktop.LoadString(64999).empty());
  Expect("desktop.errortext", !desktop.GetErrorText(sys::err::kFileNotFound).empty());
}

void CheckClockAndProcesses() {
  sys::Clock& clock = *sys::os().clock;
  uint32_t before = clock.TickCount();
  uint64_t fileTimeBefore = clock.NowFileTime();
  clock.Sleep(100);
  Expect("clock.sleep", clock.TickCount() - before >= 50 && clock.NowFileTime() > fileTimeBefore);
  Expect("clock.now", clock.Now().year >= 2020);

  sys::Processes& processes = *sys::os().processes;
  std::string self = "\"" + sys::os().desktop->GetProgramPath() + "\"";
  sys::StartOptions options;
  options.workingFolder = sys::os().desktop->GetSystemFolder();
  auto child = processes.Create(self + " --child 3000 3", options);
  Expect("processes.create", child.ok(), Number(child.error));
  Expect("processes.timeout", processes.Wait(child.value, 100) == sys::err::kWaitTimeout);
  Expect("processes.running", processes.GetExitCode(child.value).value == sys::err::kStillActive);
  auto names = processes.ListProcessNames();
  bool listed = false;
  for (const std::string& name : names.value) listed = listed || sys::EqualsNoCase(name, "seamprobe.exe");
  Expect("processes.list", names.ok() && listed, Number(names.value.size()));
  Expect("processes.wait", processes.Wait(child.value, sys::kWaitForever) == 0);
  Expect("processes.exitcode", processes.GetExitCode(child.value).value == 3);
  Expect("processes.close", processes.Close(child.value) == 0);
  Expect("processes.missing", processes.Create("C:\\none\\none.exe", {}).error != 0);
  Expect("processes.nowindow", !processes.FindTopLevelWindow("PlandrixNoSuchClass", "").has_value());
  uint32_t previous = processes.SetErrorMode(sys::errormode::kFailCriticalErrors | sys::errormode::kNoOpenFileErrorBox);
  Expect("processes.errormode", processes.SetErrorMode(previous) ==
                                    (sys::errormode::kFailCriticalErrors | sys::errormode::kNoOpenFileErrorBox));
}

// Another program holds a file open for reading (sharing reading only), and another
// runs from a file: the answers the fake gives for files in use.
void CheckFilesInUse(const std::string& folder) {
  sys::Files& files = *sys::os().files;
  sys::Processes& processes = *sys::os().processes;
  const std::string self = sys::os().desktop->GetProgramPath();
  const std::string held = sys::JoinPath(folder, "held.txt");
  const std::string other = sys::JoinPath(folder, "other.txt");
  WriteFile(files, held, "held");
  WriteFile(files, other, "other");
  auto holder = processes.Create("\"" + self + "\" --hold " + held + " 4000", {});
  sys::os().clock->Sleep(1000);  // time for the holder to open the file
  Expect("inuse.copyonto", files.CopyFile(other, held, false) == sys::err::kSharingViolation);
  Expect("inuse.copyfrom", files.CopyFile(held, sys::JoinPath(folder, "copied.txt"), false) == 0);
  auto writer = files.Open(held, sys::FileAccess::Write, sys::share::kRead, sys::Disposition::OpenExisting);
  Expect("inuse.openwrite", writer.error == sys::err::kSharingViolation, Number(writer.error));
  Expect("inuse.rename", files.MoveFile(held, sys::JoinPath(folder, "renamed.txt"), 0) == sys::err::kSharingViolation);
  sys::Error replaced = files.MoveFile(other, held, sys::move::kReplaceExisting);
  Expect("inuse.replace", replaced == sys::err::kAccessDenied, Number(replaced));
  Expect("inuse.delete", files.DeleteFile(held) == sys::err::kSharingViolation);
  processes.Wait(holder.value, sys::kWaitForever);
  processes.Close(holder.value);

  const std::string running = sys::JoinPath(folder, "running.exe");
  files.CopyFile(self, running, false);
  auto runner = processes.Create("\"" + running + "\" --child 4000 0", {});
  sys::os().clock->Sleep(1000);
  Expect("running.copyonto", files.CopyFile(other, running, false) == sys::err::kSharingViolation);
  sys::Error deleted = files.DeleteFile(running);
  Expect("running.delete", deleted == sys::err::kAccessDenied, Number(deleted));
  sys::Error replacedRunning = files.MoveFile(other, running, sys::move::kReplaceExisting);
  Expect("running.replace", replacedRunning == sys::err::kAccessDenied, Number(replacedRunning));
  Expect("running.rename", files.MoveFile(running, sys::JoinPath(folder, "running.old"), 0) == 0);
  processes.Wait(runner.value, sys::kWaitForever);
  processes.Close(runner.value);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--hold") {
    InstallWin32Os(GetModuleHandleA(nullptr));
    auto held = sys::os().files->Open(argv[2], sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
    sys::os().clock->Sleep(static_cast<uint32_t>(std::atoi(argv[3])));
    if (held.ok()) sys::os().files->Close(held.value);
    return held.ok() ? 0 : 1;
  }
  if (argc == 4 && std::string(argv[1]) == "--child") {
    InstallWin32Os(GetModuleHandleA(nullptr));
    sys::os().clock->Sleep(static_cast<uint32_t>(std::atoi(argv[2])));
    return std::atoi(argv[3]);
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: seamprobe WORKDIR [ARGS...]\n");
    return 255;
  }
  InstallWin32Os(GetModuleHandleA(nullptr));
  // What the program should see after its own name: the rest of the line, as typed.
  std::string arguments;
  for (int i = 1; i < argc; ++i) arguments += (i > 1 ? " " : "") + std::string(argv[i]);
  CheckRegistry();
  CheckProfiles(argv[1]);
  CheckFiles(argv[1]);
  CheckFilesInUse(argv[1]);
  CheckDesktop(arguments);
  CheckClockAndProcesses();
  std::printf("failures=%d\n", failures);
  return failures;
}
