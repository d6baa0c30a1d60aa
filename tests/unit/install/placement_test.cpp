// Placing files: the retry primitives, folders made level by level, the copy error table
// with restart-time replacement, and the use counts and lists of shared files.
#include <gtest/gtest.h>

#include <array>

#include "fakes/fake_os.h"
#include "filelist/listdate.h"
#include "install/createdfolders.h"
#include "install/directories.h"
#include "install/placefile.h"
#include "install/placementstate.h"
#include "install/retryprimitives.h"
#include "install/sharedfiles.h"
#include "session/knownplaces.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/registry.h"
#include "sys/registry_helpers.h"

namespace {

using fakes::FileOp;
constexpr const char* kNew = "C:\\Temp\\new.dll";
constexpr const char* kTarget = "C:\\Fin\\bin\\app.dll";

class Placing : public ::testing::Test {
 protected:
  void SetUp() override {
    Session().installDir = "C:\\Fin";
    Session().isNtFamily = Session().hasAdminRights = true;
    Places().systemFolder = "C:\\Windows\\system32";
    os.files.WriteText(kNew, "new bytes");
    os.files.WriteText(kTarget, "old bytes");
  }
  ~Placing() override { CloseLog(); }

  PlaceOutcome Place(int registrationKind = 0) {
    FileEntry entry;
    entry.date = "24-12-2025 10:30:00";
    entry.registrationKind = registrationKind;
    result = PlaceFile({kNew, kTarget, "CSFNC_APP", SourceKind::Downloaded, false}, entry);
    return result.outcome;
  }
  std::string Target() { return os.files.ReadText(kTarget).value_or("<none>"); }
  std::string Box(size_t i) { return i < os.desktop.boxes.size() ? os.desktop.boxes[i].text : "(no box)"; }

  FakeOs os;
  PlaceResult result;
};

TEST_F(Placing, CopyingClearsAReadOnlyTargetOnceAndRetriesAHeldOneFiveTimesPerQuestion) {
  os.files.SetAttributes(kTarget, sys::attr::kReadOnly);
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kAccessDenied, 1);
  EXPECT_EQ(CopyFileWithRetry(kNew, kTarget, false), CopyOutcome::Copied);
  EXPECT_EQ(Target(), "new bytes");
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kAccessDenied, 2);  // denied after the clearing
  os.desktop.QueueAnswers({sys::answer::kCancel, sys::answer::kRetry});
  EXPECT_EQ(CopyFileWithRetry(kNew, kTarget, false), CopyOutcome::Cancelled);
  EXPECT_NE(Box(0).find("Copy failed: C:\\Fin\\bin\\app.dll."), std::string::npos);
  const int before = os.files.faults.Calls(FileOp::CopyFile);
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kSharingViolation, 9);
  EXPECT_EQ(CopyFileWithRetry(kNew, kTarget, false), CopyOutcome::Copied);
  EXPECT_EQ(os.desktop.boxes.size(), 2u);
  EXPECT_EQ(os.files.faults.Calls(FileOp::CopyFile) - before, 10);
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kDiskFull, 1);
  EXPECT_EQ(CopyFileWithRetry(kNew, kTarget, false), CopyOutcome::Failed);
}

TEST_F(Placing, DeletingNeverAsksInASilentRunAndAHeldFileKeepsItsFolder) {
  EXPECT_EQ(DeleteFileWithRetry("C:\\Fin\\nothing.txt"), DeleteOutcome::Done);
  os.files.WriteText("C:\\Fin\\data\\sub\\b.txt", "b");
  EXPECT_TRUE(DeleteDirectoryTree("C:\\Fin\\data"));
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\data"));
  Session().silent = true;
  os.files.LockFile(kTarget);
  EXPECT_EQ(DeleteFileWithRetry(kTarget), DeleteOutcome::Failed);
  EXPECT_FALSE(DeleteDirectoryTree("C:\\Fin\\bin"));
  EXPECT_TRUE(os.files.Exists(kTarget) && os.desktop.boxes.empty());
}

TEST_F(Placing, FoldersAreMadeLevelByLevelAndAMissingDriveIsNamed) {
  os.files.AddVolume("\\\\srv\\share");
  EXPECT_TRUE(CreateDirectoryPath("\\\\srv\\share\\Fin\\bin", false));
  EXPECT_TRUE(os.files.IsDirectory("\\\\srv\\share\\Fin\\bin"));
  EXPECT_EQ(os.files.faults.Calls(FileOp::CreateDirectory), 2);  // never the server or the share
  os.files.faults.FailNext(FileOp::CreateDirectory, sys::err::kPathNotFound, 1, "Q:");
  EXPECT_FALSE(CreateOneDirectory("Q:"));
  EXPECT_EQ(Box(0), LoadText(162) + ": Q:");
}

TEST_F(Placing, AnInUseFileOnTheWorkstationIsReplacedAtTheRestart) {
  EXPECT_EQ(Place(), PlaceOutcome::Placed);
  EXPECT_EQ(os.files.TimesOf(kTarget)->lastWrite, ParseListDate("24-12-2025 10:30:00"));
  os.files.WriteText(kTarget, "old bytes");
  os.files.LockFile(kTarget);
  EXPECT_EQ(Place(1), PlaceOutcome::Ignored);
  EXPECT_TRUE(result.keepPrepared && Results().rebootNeeded);
  EXPECT_NE(Placement().inUseList.find("C:\\Fin\\bin\\app.dll\r\n"), std::string::npos);
  ASSERT_EQ(os.files.PendingRenames().size(), 2u);
  EXPECT_EQ(os.files.PendingRenames()[0].to, "");  // the old file goes first
  EXPECT_TRUE(os.registry.HasKey(sys::Hive::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce"));
  EXPECT_EQ(Target(), "old bytes");  // nothing changes before the restart
  os.files.Restart();
  EXPECT_EQ(Target(), "new bytes");
  // The older family renames through WININIT.INI; without admin rights the user is asked.
  Session().isNtFamily = false;
  os.files.LockFile(kTarget);
  EXPECT_EQ(Place(), PlaceOutcome::Ignored);
  EXPECT_NE(os.files.ReadText("C:\\Windows\\WININIT.INI").value_or("").find("[rename]"), std::string::npos);
  Session().hasAdminRights = false;
  Session().silent = true;
  EXPECT_EQ(Place(), PlaceOutcome::Aborted);
  EXPECT_TRUE(os.files.PendingRenames().empty());
}

TEST_F(Placing, CopyErrorsFollowTheirTable) {
  Session().installMode = kInternetNetwork;  // on a share a file in use is retried ten times, then reported
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kSharingViolation, 11);
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_EQ(Place(), PlaceOutcome::Ignored);
  EXPECT_EQ(os.files.faults.Calls(FileOp::CopyFile), 11);
  EXPECT_EQ(Box(0).rfind(LoadText(208) + " C:\\Fin\\bin\\app.dll\r\n", 0), 0u);
  EXPECT_TRUE(Results().copyIncomplete && os.files.PendingRenames().empty());
  Session().silent = true;
  os.files.AddVolume("D:");
  os.files.Volume("D:")->fileSystem = "FAT32";
  EXPECT_TRUE(IsFatVolume("D:\\Fin") && !IsFatVolume("C:\\Fin"));
  Placement().installDirOnFat = true;
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kFileNotFound, 1);
  EXPECT_EQ(Place(), PlaceOutcome::Placed);  // FAT volumes report phantom errors
  Placement().installDirOnFat = false;
  os.files.SetAttributes(kTarget, sys::attr::kReadOnly | sys::attr::kArchive);
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kAccessDenied, 1);
  EXPECT_EQ(Place(), PlaceOutcome::Placed);  // read-only cleared, then copied
  EXPECT_EQ(*os.files.AttributesOf(kTarget) & sys::attr::kReadOnly, 0u);
  for (sys::Error error : {sys::err::kDiskFull, sys::Error{1117}}) {  // an I/O error: the report, default Abort
    os.files.faults.FailNext(FileOp::CopyFile, error, 1);
    EXPECT_EQ(Place(), PlaceOutcome::Aborted) << error;
  }
}

TEST_F(Placing, SharedFilesAreCountedOnceByEachInstallationThatPlacedThem) {
  const char* kCounts = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
  auto count = [&] { return sys::QueryDword(sys::Hive::LocalMachine, kCounts, "C:\\Windows\\system32\\msvcx.dll"); };
  sys::os().registry->CreateKey(sys::Hive::LocalMachine, kCounts);
  FileEntry entry;
  entry.fileName = "msvcx.dll";
  entry.folder = "SystemFolder";
  entry.registrationKind = 1;
  RecordSharedFile(entry);
  RecordSharedFile(entry);  // a second update counts nothing
  EXPECT_EQ(count(), 1u);
  EXPECT_EQ(sys::QueryDword(sys::Hive::LocalMachine, "Software\\Molvex\\e-Halomir Plandrix\\C:-Fin\\SharedDlls",
                            "C:\\Windows\\system32\\msvcx.dll"), 1u);
  entry.targetExisted = true;  // another installation, whose file was there before, adds its use
  Session().installDir = "D:\\Other";
  RecordSharedFile(entry);
  EXPECT_EQ(count(), 2u);
  const std::array<int, 3> cases[] = {{0, 0, -1}, {-1, 1, -1}, {1, 0, 1}, {-1, 0, 0}};  // change, existed, count
  for (const auto& [change, existed, result] : cases) EXPECT_EQ(AdjustSharedDllCount("c:\\X.dll", change, existed), result);
  EXPECT_FALSE(sys::QueryDword(sys::Hive::LocalMachine, kCounts, "C:\\x.dll"));  // a count that falls to 0 goes
}

TEST_F(Placing, CreatedFoldersInsideTheInstallationAreRecordedAndRemovedWithIt) {
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

}  // namespace
