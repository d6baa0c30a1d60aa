// Installing files: retries, folders, the copy error table, shared counts, registration.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "fakes/fake_os.h"
#include "filelist/filelist.h"
#include "install/createdfolders.h"
#include "install/directories.h"
#include "install/placefile.h"
#include "platform/volumes.h"
#include "install/placementstate.h"
#include "install/registration.h"
#include "install/retryprimitives.h"
#include "install/sharedfiles.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/session.h"
#include "session/textids.h"
#include "sys/os.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace {

using fakes::FileOp;
constexpr const char* kNew = "C:\\Temp\\new.dll";
constexpr const char* kTarget = "C:\\Fin\\bin\\app.dll";
constexpr const char* kFramework = "C:\\Windows\\Microsoft.NET\\Framework64\\";
constexpr const char* kRunOnce = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr int32_t kFail = static_cast<int32_t>(0x80004005);
constexpr uint64_t kHalfMinute = 30ull * 10000000ull;
const fakes::ProgramScript kHangs{0, sys::kWaitForever, -1};
fakes::ProgramScript Exits(uint32_t code, int times = -1) { return {code, 0, times}; }

class Installing : public ::testing::Test {
 protected:
  void SetUp() override {
    Session().installDir = "C:\\Fin";
    Session().isNtFamily = Session().hasAdminRights = true;
    Places().systemFolder = "C:\\Windows\\system32";
    os.desktop.UseProductStrings();
    os.files.WriteText(kNew, "new bytes");
    os.files.WriteText(kTarget, "old bytes");
    FindRegAsmFolder();  // no framework until a test installs one
  }
  ~Installing() override { CloseLog(); }

  PlaceOutcome Place(int registrationKind = 0) {
    FileEntry entry;
    entry.registrationKind = registrationKind;
    result = PlaceFile({kNew, kTarget, "CSFNC_APP", SourceKind::Downloaded, false}, entry);
    return result.outcome;
  }
  static bool Register(const std::string& fileName, int kind = 1, const std::string& itemCode = "") {
    FileEntry entry = ParseFileListRecord(itemCode + "\t\t" + fileName + "\t0\t\tbin\t" + std::to_string(kind), 0);
    return RegisterComponent(entry);
  }
  void InstallFramework(const std::string& version, bool withTool = true) {
    os.registry.PutString(sys::Hive::LocalMachine, "Software\\Microsoft\\.NETFramework", "InstallRoot", kFramework);
    sys::os().registry->CreateKey(sys::Hive::LocalMachine, "Software\\Microsoft\\NET Framework Setup\\NDP\\" + version);
    if (withTool) os.files.WriteText(std::string(kFramework) + version + "\\regasm.exe", "MZ");
    FindRegAsmFolder();
  }
  bool Listed(const char* list, const std::string& name) {
    return sys::QueryDword(sys::Hive::LocalMachine, std::string("Software\\Molvex\\e-Halomir Plandrix\\C:-Fin\\") + list,
                           "C:\\Fin\\bin\\" + name).has_value();
  }
  std::string LastCommand() { return os.processes.started.empty() ? "" : os.processes.started.back().commandLine; }
  std::string Box(size_t i) { return i < os.desktop.boxes.size() ? os.desktop.boxes[i].text : "(no box)"; }

  FakeOs os;
  PlaceResult result;
};

TEST_F(Installing, CopyingClearsReadOnlyOnceAndRetriesAHeldFileFiveTimesPerQuestionAndASilentRunNeverAsks) {
  os.files.SetAttributes(kTarget, sys::attr::kReadOnly);
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kAccessDenied, 1);
  EXPECT_EQ(CopyFileWithRetry(kNew, kTarget, false), CopyOutcome::Copied);
  EXPECT_EQ(os.files.ReadText(kTarget), "new bytes");
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kAccessDenied, 2);  // denied after the clearing
  os.desktop.QueueAnswers({sys::answer::kCancel, sys::answer::kRetry});
  EXPECT_EQ(CopyFileWithRetry(kNew, kTarget, false), CopyOutcome::Cancelled);
  EXPECT_NE(Box(0).find("Copy failed: C:\\Fin\\bin\\app.dll."), std::string::npos);
  const int before = os.files.faults.Calls(FileOp::CopyFile);
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kSharingViolation, 9);
  EXPECT_EQ(CopyFileWithRetry(kNew, kTarget, false), CopyOutcome::Copied);
  EXPECT_TRUE(os.desktop.boxes.size() == 2 && os.files.faults.Calls(FileOp::CopyFile) - before == 10);
  Session().silent = true;
  os.files.LockFile(kTarget);
  EXPECT_EQ(DeleteFileWithRetry(kTarget), DeleteOutcome::Failed);
  EXPECT_FALSE(DeleteDirectoryTree("C:\\Fin\\bin"));
  EXPECT_TRUE(os.files.Exists(kTarget) && os.desktop.boxes.size() == 2);  // a held file keeps its folder
}

TEST_F(Installing, FoldersAreMadeLevelByLevelAndThoseMadeInsideTheInstallationAreRecordedAndRemoved) {
  os.files.AddVolume("\\\\srv\\share");
  EXPECT_TRUE(CreateDirectoryPath("\\\\srv\\share\\Fin\\bin", false) && os.files.IsDirectory("\\\\srv\\share\\Fin\\bin"));
  EXPECT_EQ(os.files.faults.Calls(FileOp::CreateDirectory), 2);  // never the server or the share
  os.files.faults.FailNext(FileOp::CreateDirectory, sys::err::kPathNotFound, 1, "Q:");
  EXPECT_TRUE(!CreateOneDirectory("Q:") && Box(0) == LoadText(text::kDriveMissing) + ": Q:");
  std::string key = InstallationKeyPath();
  RecordCreatedFolder("C:\\Fin");             // the installation folder itself
  RecordCreatedFolder("C:\\Elsewhere\\bin");  // outside it
  EXPECT_FALSE(os.registry.HasKey(sys::Hive::LocalMachine, key));
  os.registry.PutString(sys::Hive::LocalMachine, key, "MolvexFolder1", "");
  RecordCreatedFolder("C:\\Fin\\new");
  EXPECT_EQ(sys::QueryString(sys::Hive::LocalMachine, key, "MolvexFolder1"), "C:\\Fin\\new");  // an empty name reused
  os.files.WriteText("C:\\Fin\\new\\a.txt", "a");
  EXPECT_EQ(RemoveCreatedFolders(sys::Hive::LocalMachine), 0);
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\new") || os.registry.HasKey(sys::Hive::LocalMachine, key));
}

TEST_F(Installing, AnInUseFileOnTheWorkstationIsReplacedAtTheRestart) {
  os.files.LockFile(kTarget);
  // What the restart does is seen end to end; here what is prepared for it.
  EXPECT_TRUE(Place(1) == PlaceOutcome::Ignored && result.keepPrepared && Results().rebootNeeded);
  EXPECT_TRUE(os.files.PendingRenames().size() == 2 && os.registry.HasKey(sys::Hive::LocalMachine, kRunOnce));
  // The older family renames through WININIT.INI; without admin rights the user is asked.
  Session().isNtFamily = false;
  EXPECT_TRUE(Place() == PlaceOutcome::Ignored && os.files.ReadText("C:\\Windows\\WININIT.INI").has_value());
  Session().hasAdminRights = false;
  Session().silent = true;
  EXPECT_TRUE(Place() == PlaceOutcome::Aborted && os.files.PendingRenames().size() == 2);
}

TEST_F(Installing, CopyErrorsFollowTheirTable) {
  Session().installMode = kInternetNetwork;  // on a share a file in use is retried ten times, then reported
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kSharingViolation, 11);
  Placement().addInCheck = true;  // the mail client that may hold its add-in is asked about once per file
  os.processes.windows.push_back({"rctrl_renwnd32", "", 1});
  os.desktop.QueueAnswers({sys::answer::kCancel, sys::answer::kIgnore});
  EXPECT_TRUE(Place() == PlaceOutcome::Ignored && os.files.faults.Calls(FileOp::CopyFile) == 11);
  ASSERT_EQ(os.desktop.boxes.size(), 2u);
  EXPECT_EQ(Box(1).rfind(LoadText(text::kCannotCopy) + " C:\\Fin\\bin\\app.dll\r\n", 0), 0u);
  EXPECT_TRUE(Results().copyIncomplete && os.files.PendingRenames().empty());
  Session().silent = true;
  os.files.AddVolume("D:", {"FAT32"});
  EXPECT_TRUE(IsFatVolume("D:\\Fin") && !IsFatVolume("C:\\Fin"));
  Placement().installDirOnFat = true;
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kFileNotFound, 1);
  EXPECT_EQ(Place(), PlaceOutcome::Placed);  // FAT volumes report phantom errors
  Placement().installDirOnFat = false;
  for (sys::Error error : {sys::err::kDiskFull, sys::Error{1117}}) {  // an I/O error: the report, default Abort
    os.files.faults.FailNext(FileOp::CopyFile, error, 1);
    EXPECT_EQ(Place(), PlaceOutcome::Aborted) << error;
  }
}

TEST_F(Installing, ASharedFilesUseCountMovesByOneAndGoesAtZero) {
  const char* kCounts = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
  sys::os().registry->CreateKey(sys::Hive::LocalMachine, kCounts);
  const std::array<int, 3> cases[] = {{0, 0, -1}, {-1, 1, -1}, {1, 0, 1}, {-1, 0, 0}};  // change, existed, count
  for (const auto& [change, existed, result] : cases) EXPECT_EQ(AdjustSharedDllCount("c:\\X.dll", change, existed), result);
  EXPECT_FALSE(sys::QueryDword(sys::Hive::LocalMachine, kCounts, "C:\\x.dll"));  // a count that falls to 0 goes
}

TEST_F(Installing, AFileCountedByARunStoppedAtAnyStepIsCountedOnceByTheNextRun) {
  const std::string counts = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls", path = "C:\\Windows\\system32\\s.dll";
  const std::string own = "Software\\Molvex\\e-Halomir Plandrix\\C:-Fin";
  for (int stoppedAfter = 0; stoppedAfter < 3; ++stoppedAfter) {  // placed, counted, listed
    sys::os().registry->DeleteKey(sys::Hive::LocalMachine, own);
    os.registry.PutDword(sys::Hive::LocalMachine, counts, "C:\\Other.dll", 1);
    sys::os().registry->DeleteValue(sys::Hive::LocalMachine, counts, path);
    FileEntry entry = ParseFileListRecord("CSFNC_S\t\ts.dll\t0\t\tSystemFolder\t0", 0);
    NoteSharedFileBeforePlacing(entry);  // new to the machine
    if (stoppedAfter >= 1) AdjustSharedDllCount(path, +1, false);
    if (stoppedAfter >= 2) sys::SetDword(sys::Hive::LocalMachine, own + "\\SharedDlls", path, 0);
    entry.targetExisted = true;  // the next run finds the file that the stopped one placed
    RecordSharedFile(entry);
    RecordSharedFile(entry);
    EXPECT_EQ(os.registry.DwordOf(sys::Hive::LocalMachine, counts, path), 1u) << stoppedAfter;
    EXPECT_TRUE(os.registry.DwordOf(sys::Hive::LocalMachine, own + "\\SharedDlls", path) &&
                !os.registry.HasKey(sys::Hive::LocalMachine, own + "\\SharedDllsCounting"));
  }
}

TEST_F(Installing, TheNewestFrameworkWithTheToolRegistersAssembliesWithTheCodebaseWhereAsked) {
  for (const char* version : {"v1.1.4322", "v2.0.50727", "v4.0.30319"}) InstallFramework(version);  // 1.1: too old
  InstallFramework("v4.5", false);
  EXPECT_EQ(RegAsmFolder(), std::string(kFramework) + "v4.0.30319");
  os.files.WriteText("C:\\Fin\\bin\\Plain.dll", "MZ");
  os.files.WriteText("C:\\Fin\\bin\\Versioned.dll", "MZ");
  os.modules.SetVersionString("C:\\Fin\\bin\\Versioned.dll", "Assembly Version", "1.0.0.0");
  const std::array<const char*, 4> cases[] = {{"Plain.dll", "2", "", "/silent"},
                                              {"Plain.dll", "2", "molvex.mem.connect.DLL-HAL", "/codebase /silent"},
                                              {"Versioned.dll", "1", "", "/silent"},
                                              {"Plain.dll", "3", "", "/codebase /silent"}};
  const std::string tool = std::string(kFramework) + "v4.0.30319\\regAsm ";
  for (const auto& [file, kind, item, options] : cases) {
    EXPECT_TRUE(Register(file, std::atoi(kind), item));
    EXPECT_EQ(LastCommand(), tool + options + " /nologo \"C:\\Fin\\bin\\" + file + "\"");
  }
  EXPECT_TRUE(os.processes.started.back().options.inheritHandles && Listed("RegisteredNetDll", "Versioned.dll"));
  EXPECT_TRUE(os.modules.calls.empty());  // no assembly was loaded as a library
  // Unregistering does not ask about a hung tool, but counts it as failed.
  os.processes.Script("regAsm", kHangs);
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_TRUE(RegisterAssembly("C:\\Fin\\bin\\Plain.dll", false, false));
  EXPECT_EQ(LastCommand(), tool + "/unregister /silent /nologo \"C:\\Fin\\bin\\Plain.dll\"");
  EXPECT_EQ(Box(0), "Failed to register: C:\\Fin\\bin\\Plain.dll (Error: 1)");
  // Without a framework that has the tool nothing is run, listed or asked.
  for (const char* version : {"v4.0.30319", "v2.0.50727"}) os.files.DeleteFile(std::string(kFramework) + version + "\\regasm.exe");
  FindRegAsmFolder();
  EXPECT_TRUE(Register("Other.dll", 3) && os.processes.started.size() == std::size(cases) + 1);
  EXPECT_FALSE(Listed("RegisteredNetDll", "Other.dll"));
}

TEST_F(Installing, AProgramRegistersItselfQuietlyItsFailuresAreAskedAboutAndAHungOneEveryThirtySeconds) {
  os.processes.errorMode = 0x4;
  EXPECT_TRUE(Register("Server.EXE", 2));  // a program registers itself whatever its kind
  EXPECT_EQ(LastCommand(), "\"C:\\Fin\\bin\\Server.EXE\" /RegServer");
  EXPECT_TRUE(!os.processes.started[0].options.inheritHandles && Listed("RegisteredExe", "Server.EXE"));
  EXPECT_EQ(os.processes.started[0].errorMode, 0x8001u);  // quiet while it starts, and back after
  EXPECT_EQ(os.processes.errorMode, 0x4u);
  EXPECT_EQ(os.files.currentFolder, "C:\\Fin\\bin");
  os.processes.Script("Server.exe", Exits(5, 1));
  os.processes.Script("Broken.exe", Exits(0xC0000005));
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore, sys::answer::kAbort});
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Server.exe"));
  EXPECT_EQ(Box(0), "Failed to register: C:\\Fin\\bin\\Server.exe (Error: 5)");
  EXPECT_TRUE(os.processes.started.size() == 3 && !Results().registrationFailed);
  os.processes.faults.FailNext(fakes::ProcessOp::Create, sys::err::kFileNotFound);
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Other.exe"));
  EXPECT_EQ(Box(1), "Failed to register\r\nFailed to start: C:\\Fin\\bin\\Other.exe");
  EXPECT_TRUE(Results().registrationFailed && Listed("RegisteredExe", "Other.exe"));
  EXPECT_FALSE(RegisterExe("C:\\Fin\\bin\\Broken.exe") || Listed("RegisteredExe", "Broken.exe"));
  EXPECT_EQ(Box(2), "Failed to register: C:\\Fin\\bin\\Broken.exe (Error: -1073741819)");
  Results().registrationFailed = false;
  os.processes.Script("Hung.exe", kHangs);
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kRetry, sys::answer::kIgnore, sys::answer::kIgnore});
  uint64_t before = os.clock.NowFileTime();
  EXPECT_TRUE(RegisterExe("C:\\Fin\\bin\\Hung.exe"));
  EXPECT_EQ(os.clock.NowFileTime() - before, 3 * kHalfMinute);
  EXPECT_EQ(Box(3), "Timeout for registration has expired\r\nC:\\Fin\\bin\\Hung.exe");
  EXPECT_EQ(Box(6), "Failed to register: C:\\Fin\\bin\\Hung.exe (Error: 259)");  // still active after Ignore
  EXPECT_TRUE(Results().registrationFailed && Listed("RegisteredExe", "Hung.exe"));
  Session().silent = true;  // a silent run aborts after the first wait
  before = os.clock.NowFileTime();
  EXPECT_FALSE(RegisterExe("C:\\Fin\\bin\\Hung.exe"));
  EXPECT_TRUE(os.clock.NowFileTime() - before == kHalfMinute && os.processes.OpenHandleCount() == 0);
}

TEST_F(Installing, ALibraryRegistersInsideTheProcessItsFailuresAreAskedAboutUnlessARepairFindsItMissing) {
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\core.dll", {kFail, 0});
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\bad.dll", {kFail});
  os.modules.AddLibrary("C:\\Fin\\bin\\data.dll", {});  // no entry point
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\msxml4.dll", {kFail});
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore, sys::answer::kAbort, sys::answer::kIgnore,
                           sys::answer::kAbort, sys::answer::kIgnore});
  EXPECT_TRUE(Register("core.dll"));
  EXPECT_EQ(Box(0), "Failed to register (0x80004005): C:\\Fin\\bin\\core.dll");
  ASSERT_EQ(os.modules.calls.size(), 2u);
  EXPECT_TRUE(os.modules.calls[0] == "DllRegisterServer" && os.modules.loadErrorModes[0] == 0x8001u);
  EXPECT_FALSE(Results().registrationFailed);
  EXPECT_TRUE(Register("bad.dll") && Results().registrationFailed);
  EXPECT_FALSE(Register("bad.dll"));
  Results().registrationFailed = false;
  EXPECT_TRUE(Register("data.dll"));
  EXPECT_EQ(Box(3), "Failed to find DllRegisterServer entry point.\r\nC:\\Fin\\bin\\data.dll");
  EXPECT_FALSE(Register("data.dll") || Results().registrationFailed);
  // The system's XML library refuses a second registration: no fault under its own name.
  EXPECT_TRUE(Register("msxml4.dll", 1, "MSXML4.DLL") && os.desktop.boxes.size() == 5);
  EXPECT_TRUE(Register("msxml4.dll", 1, "XML4") && os.desktop.boxes.size() == 6);
  EXPECT_TRUE(os.modules.OpenLibraryCount() == 0 && os.processes.started.empty());
  Results().registrationFailed = false;
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore});
  EXPECT_TRUE(Register("gone.dll"));
  EXPECT_EQ(Box(6), "Failed to load file for registration: C:\\Fin\\bin\\gone.dll");
  EXPECT_TRUE(os.desktop.boxes.size() == 8 && Results().registrationFailed);
  Session().silent = true;
  EXPECT_FALSE(Register("gone.dll"));
  Session().repairOnly = true;
  InstallFramework("v4.0.30319");
  EXPECT_TRUE(Register("gone.dll") && Register("gone.exe") && Register("gone.dll", 2));
  EXPECT_TRUE(os.desktop.boxes.size() == 8 && os.processes.started.empty());
}

TEST_F(Installing, ARunThatNeedsARestartDefersFailuresToTheNextLogon) {
  Results().rebootNeeded = true;
  os.files.WriteText("C:\\Fin\\bin\\held.dll", "MZ");
  os.modules.faults.FailAlways(fakes::ModuleOp::Load, sys::err::kSharingViolation);
  os.modules.AddRegistrationLibrary("C:\\Fin\\bin\\late.dll", {kFail});
  os.processes.Script("Server.exe", Exits(3));
  sys::os().registry->CreateKey(sys::Hive::LocalMachine, kRunOnce);
  EXPECT_TRUE(Register("held.dll") && RegisterExe("C:\\Fin\\bin\\Server.exe"));
  os.modules.faults.Clear();
  EXPECT_TRUE(Register("late.dll") && os.desktop.boxes.empty() && !Results().registrationFailed);
  const std::string regsvr = "C:\\Windows\\system32\\regsvr32.exe /s ";
  EXPECT_EQ(sys::QueryString(sys::Hive::LocalMachine, kRunOnce, "MolvexRegister1"), regsvr + "\"C:\\Fin\\bin\\held.dll\"");
  EXPECT_EQ(sys::QueryString(sys::Hive::LocalMachine, kRunOnce, "MolvexRegister2"), "\"C:\\Fin\\bin\\Server.exe\" /RegServer");
  EXPECT_EQ(sys::QueryString(sys::Hive::LocalMachine, kRunOnce, "MolvexRegister3"), regsvr + "\"C:\\Fin\\bin\\late.dll\"");
}

}  // namespace
