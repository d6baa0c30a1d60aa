// File placement: the retry questions, restart-time replacement and the copy error table.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "install/directories.h"
#include "install/placefile.h"
#include "install/placementstate.h"
#include "install/retryprimitives.h"
#include "session/log.h"
#include "session/session.h"
#include "session/progressstate.h"
#include "filelist/listdate.h"

namespace {

using fakes::FileOp;

class Placement_ : public ::testing::Test {
 protected:
  void SetUp() override {
    Session().installMode = kInternetWorkstation;
    Session().installDir = "C:\\Fin";
    Session().isNtFamily = true;
    Session().hasAdminRights = true;
    ResetPlacementState();
    os.files.WriteText("C:\\Temp\\new.dll", "new bytes");
    os.files.WriteText("C:\\Fin\\bin\\app.dll", "old bytes");
  }
  ~Placement_() override { CloseLog(); }

  FileEntry Entry(int registrationKind = 0) {
    FileEntry entry;
    entry.fileName = "app.dll";
    entry.size = 9;
    entry.date = "24-12-2025 10:30:00";
    entry.registrationKind = registrationKind;
    return entry;
  }
  int Place(FileEntry entry, bool& keep, bool expandedInPlace = false) {
    return PlaceFile({"C:\\Temp\\new.dll", "C:\\Fin\\bin\\app.dll", "CSFNC_APP", kSourceDownloaded, expandedInPlace},
                     entry, keep);
  }
  std::string Target() { return os.files.ReadText("C:\\Fin\\bin\\app.dll").value_or("<none>"); }

  FakeOs os;
};

TEST_F(Placement_, AReadOnlyTargetIsClearedOnceAndThenCopied) {
  os.files.SetAttributes("C:\\Fin\\bin\\app.dll", sys::attr::kReadOnly);
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kAccessDenied, 1);
  EXPECT_EQ(CopyFileWithRetry("C:\\Temp\\new.dll", "C:\\Fin\\bin\\app.dll", false), 1);
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_EQ(Target(), "new bytes");

  // Denied again after the attributes were cleared: the question, answered Cancel.
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kAccessDenied, 2);
  os.desktop.QueueAnswers({sys::answer::kCancel});
  EXPECT_EQ(CopyFileWithRetry("C:\\Temp\\new.dll", "C:\\Fin\\bin\\app.dll", false), 0);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_NE(os.desktop.boxes[0].text.find("Copy failed: C:\\Fin\\bin\\app.dll."), std::string::npos);
}

TEST_F(Placement_, AHeldTargetIsTriedFiveTimesBeforeTheQuestionAndRetryGivesFiveMore) {
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kSharingViolation, 9);
  os.desktop.QueueAnswers({sys::answer::kRetry});
  EXPECT_EQ(CopyFileWithRetry("C:\\Temp\\new.dll", "C:\\Fin\\bin\\app.dll", false), 1);
  EXPECT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.files.faults.Calls(FileOp::CopyFile), 10);
}

TEST_F(Placement_, DeletingInASilentRunNeverAsks) {
  EXPECT_EQ(DeleteFileWithRetry("C:\\Fin\\nothing.txt"), kDeleteDone);
  Session().silent = true;
  os.files.LockFile("C:\\Fin\\bin\\app.dll");
  EXPECT_EQ(DeleteFileWithRetry("C:\\Fin\\bin\\app.dll"), kDeleteFailed);
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_TRUE(os.files.Exists("C:\\Fin\\bin\\app.dll"));
}

TEST_F(Placement_, ATreeIsDeletedFilesFirstAndAHeldFileKeepsItsFolder) {
  os.files.WriteText("C:\\Fin\\data\\a.txt", "a");
  os.files.WriteText("C:\\Fin\\data\\sub\\b.txt", "b");
  EXPECT_EQ(DeleteDirectoryTree("C:\\Fin\\data"), 0);
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\data"));

  Session().silent = true;
  os.files.WriteText("C:\\Fin\\held\\c.txt", "c");
  os.files.LockFile("C:\\Fin\\held\\c.txt");
  EXPECT_EQ(DeleteDirectoryTree("C:\\Fin\\held"), 1);
  EXPECT_TRUE(os.files.Exists("C:\\Fin\\held\\c.txt"));
}

TEST_F(Placement_, DirectoriesAreMadeLevelByLevelAndAMissingDriveIsNamed) {
  os.files.AddVolume("\\\\srv\\share");
  EXPECT_EQ(CreateDirectoryPath("\\\\srv\\share\\Fin\\bin", false), 1);
  EXPECT_TRUE(os.files.IsDirectory("\\\\srv\\share\\Fin\\bin"));
  EXPECT_EQ(os.files.faults.Calls(FileOp::CreateDirectory), 2);  // never the server or the share

  os.files.faults.FailNext(FileOp::CreateDirectory, sys::err::kPathNotFound, 1, "Q:");
  EXPECT_EQ(CreateOneDirectory("Q:"), 0);
  ASSERT_FALSE(os.desktop.boxes.empty());
  EXPECT_EQ(os.desktop.boxes.back().text, LoadText(162) + ": Q:");
}

TEST_F(Placement_, APlacedFileCarriesTheListDate) {
  bool keep = true;
  EXPECT_EQ(Place(Entry(), keep), kPlaced);
  EXPECT_FALSE(keep);
  EXPECT_EQ(Target(), "new bytes");
  EXPECT_EQ(os.files.TimesOf("C:\\Fin\\bin\\app.dll")->lastWrite, ParseListDate("24-12-2025 10:30:00"));
}

TEST_F(Placement_, AnInUseFileOnTheWorkstationIsReplacedAtTheRestart) {
  Session().installMode = kLanWorkstationUpdate;
  os.files.LockFile("C:\\Fin\\bin\\app.dll");
  bool keep = false;
  EXPECT_EQ(Place(Entry(1), keep), kPlaceIgnored);
  EXPECT_TRUE(keep);
  EXPECT_TRUE(Results().rebootNeeded);
  EXPECT_NE(Placement().inUseList.find("C:\\Fin\\bin\\app.dll\r\n"), std::string::npos);
  ASSERT_EQ(os.files.PendingRenames().size(), 2u);
  EXPECT_EQ(os.files.PendingRenames()[0].to, "");  // the old file goes first
  EXPECT_TRUE(sys::EqualsNoCase(os.files.PendingRenames()[1].to, "C:\\Fin\\bin\\app.dll"));
  EXPECT_EQ(Target(), "old bytes");  // nothing changes before the restart
  EXPECT_TRUE(os.registry.HasKey(sys::Hive::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce"));

  os.files.Restart();
  EXPECT_EQ(Target(), "new bytes");
}

TEST_F(Placement_, OnTheOlderFamilyTheRestartRenameGoesIntoWininit) {
  Session().isNtFamily = false;
  os.files.LockFile("C:\\Fin\\bin\\app.dll");
  bool keep = false;
  EXPECT_EQ(Place(Entry(), keep), kPlaceIgnored);
  std::string wininit = os.files.ReadText("C:\\Windows\\WININIT.INI").value_or("");
  EXPECT_NE(wininit.find("[rename]"), std::string::npos);
  EXPECT_TRUE(os.files.PendingRenames().empty());
}

TEST_F(Placement_, WithoutAdminRightsAnInUseFileIsAskedAbout) {
  Session().hasAdminRights = false;
  Session().silent = true;
  os.files.LockFile("C:\\Fin\\bin\\app.dll");
  bool keep = false;
  EXPECT_EQ(Place(Entry(), keep), kPlaceAborted);
  EXPECT_TRUE(os.files.PendingRenames().empty());
  EXPECT_FALSE(Results().rebootNeeded);
}

TEST_F(Placement_, OnANetworkInstallationAnInUseFileIsRetriedTenTimesThenReported) {
  Session().installMode = kInternetNetwork;
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kSharingViolation, 11);
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  bool keep = false;
  EXPECT_EQ(Place(Entry(), keep), kPlaceIgnored);
  EXPECT_EQ(os.files.faults.Calls(FileOp::CopyFile), 11);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text.rfind(LoadText(208) + " C:\\Fin\\bin\\app.dll\r\n", 0), 0u);
  EXPECT_TRUE(Results().copyIncomplete);
  EXPECT_TRUE(os.files.PendingRenames().empty());
}

TEST_F(Placement_, CopyErrorsFollowTheirTable) {
  bool keep = false;
  Placement().installDirOnFat = true;
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kFileNotFound, 1);
  EXPECT_EQ(Place(Entry(), keep), kPlaced);  // FAT volumes report phantom errors

  Placement().installDirOnFat = false;
  os.files.SetAttributes("C:\\Fin\\bin\\app.dll", sys::attr::kReadOnly | sys::attr::kArchive);
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kAccessDenied, 1);
  EXPECT_EQ(Place(Entry(), keep), kPlaced);  // read-only cleared, then copied
  EXPECT_EQ(os.files.GetAttributes("C:\\Fin\\bin\\app.dll").value & sys::attr::kReadOnly, 0u);

  Session().silent = true;
  os.files.faults.FailNext(FileOp::CopyFile, sys::err::kDiskFull, 1);
  EXPECT_EQ(Place(Entry(), keep), kPlaceAborted);
  EXPECT_EQ(os.desktop.boxes.size(), 0u);  // silent: nothing shown

  os.files.faults.FailNext(FileOp::CopyFile, 1117, 1);  // an I/O error: the error report, default Abort
  EXPECT_EQ(Place(Entry(), keep), kPlaceAborted);
}

TEST_F(Placement_, FatVolumesAreRecognisedByTheirFileSystem) {
  os.files.AddVolume("D:");
  os.files.Volume("D:")->fileSystem = "FAT32";
  EXPECT_EQ(IsFatVolume("D:\\Fin"), 1);
  EXPECT_EQ(IsFatVolume("C:\\Fin"), 0);
}

}  // namespace
