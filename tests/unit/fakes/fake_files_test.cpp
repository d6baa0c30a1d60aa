// The fake file system follows the Win32 rules the placement and space logic depends on.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "fakes/fake_os.h"
#include "fakes/forwarding_files.h"
#include "sys/os.h"

namespace {

using sys::Disposition;
using sys::FileAccess;
namespace err = sys::err;
namespace share = sys::share;

std::string ReadAll(sys::Files& files, sys::FileHandle handle) {
  std::string text;
  char buffer[4];
  for (;;) {
    auto got = files.Read(handle, buffer, sizeof buffer);
    if (!got.ok() || got.value == 0) return text;
    text.append(buffer, got.value);
  }
}

TEST(FakeFiles, PathsCompareWithoutCaseAndKeepTheCaseTheyWereMadeWith) {
  FakeOs os;
  os.files.WriteText("C:\\Program Files\\Molvex\\Fennic.EXE", "MZ");
  EXPECT_TRUE(os.files.Exists("c:/program files/MOLVEX/fennic.exe"));
  EXPECT_TRUE(os.files.Exists("C:\\Program Files\\Molvex\\.\\bin\\..\\Fennic.exe"));
  auto found = os.files.Find("C:\\PROGRAM FILES\\molvex\\*.exe");
  ASSERT_TRUE(found.ok());
  ASSERT_EQ(found.value.size(), 1u);
  EXPECT_EQ(found.value[0].name, "Fennic.EXE");
  EXPECT_EQ(found.value[0].size, 2u);
}

TEST(FakeFiles, MissingFileIsTwoAndMissingFolderIsThree) {
  FakeOs os;
  EXPECT_EQ(os.files.GetAttributes("C:\\Windows\\nothing.ini").error, err::kFileNotFound);
  EXPECT_EQ(os.files.GetAttributes("C:\\NoFolder\\nothing.ini").error, err::kPathNotFound);
  EXPECT_EQ(os.files.GetAttributes("Q:\\x").error, err::kPathNotFound);
  EXPECT_EQ(os.files.Open("C:\\NoFolder\\new.txt", FileAccess::Write, 0, Disposition::CreateAlways).error,
            err::kPathNotFound);
  EXPECT_EQ(os.files.GetAttributes("C:\\Windows\\bad|name").error, err::kInvalidName);
  auto none = os.files.Find("C:\\Windows\\*.xyz");
  EXPECT_TRUE(none.ok());
  EXPECT_TRUE(none.value.empty());
  EXPECT_EQ(os.files.Find("C:\\NoFolder\\*").error, err::kPathNotFound);
}

TEST(FakeFiles, WrittenBytesReadBackAndEndOfFileCuts) {
  FakeOs os;
  auto handle = os.files.Open("C:\\Setup\\data.bin", FileAccess::ReadWrite, 0, Disposition::CreateNew);
  ASSERT_TRUE(handle.ok());
  ASSERT_EQ(os.files.Write(handle.value, "hello world", 11).value, 11u);
  os.files.Seek(handle.value, 5, sys::SeekFrom::Begin);
  EXPECT_EQ(os.files.SetEndOfFile(handle.value), err::kSuccess);
  os.files.Seek(handle.value, 0, sys::SeekFrom::Begin);
  EXPECT_EQ(ReadAll(os.files, handle.value), "hello");
  EXPECT_EQ(os.files.Close(handle.value), err::kSuccess);
  EXPECT_EQ(os.files.Open("C:\\Setup\\data.bin", FileAccess::Read, 0, Disposition::CreateNew).error, err::kFileExists);
  EXPECT_EQ(os.files.OpenHandleCount(), 0);
}

TEST(FakeFiles, ReadOnlyAttributeBlocksWritingDeletingAndReplacing) {
  FakeOs os;
  os.files.WriteText("C:\\App\\a.dll", "old");
  os.files.WriteText("C:\\Setup\\a.dll", "new");
  ASSERT_EQ(os.files.SetAttributes("C:\\App\\a.dll", sys::attr::kReadOnly), err::kSuccess);

  EXPECT_EQ(os.files.Open("C:\\App\\a.dll", FileAccess::Write, 0, Disposition::OpenExisting).error, err::kAccessDenied);
  EXPECT_EQ(os.files.DeleteFile("C:\\App\\a.dll"), err::kAccessDenied);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.dll", "C:\\App\\a.dll", false), err::kAccessDenied);
  EXPECT_EQ(os.files.MoveFile("C:\\Setup\\a.dll", "C:\\App\\a.dll", sys::move::kReplaceExisting), err::kAccessDenied);
  EXPECT_EQ(os.files.ReadText("C:\\App\\a.dll"), "old");

  // Clearing the attribute (FILE_ATTRIBUTE_NORMAL) lets the copy through.
  ASSERT_EQ(os.files.SetAttributes("C:\\App\\a.dll", sys::attr::kNormal), err::kSuccess);
  EXPECT_EQ(os.files.GetAttributes("C:\\App\\a.dll").value, sys::attr::kNormal);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.dll", "C:\\App\\a.dll", false), err::kSuccess);
  EXPECT_EQ(os.files.ReadText("C:\\App\\a.dll"), "new");
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.dll", "C:\\App\\a.dll", true), err::kFileExists);
}

TEST(FakeFiles, HiddenOrSystemTargetRefusesReplacement) {
  FakeOs os;
  os.files.WriteText("C:\\App\\desktop.ini", "x");
  os.files.WriteText("C:\\Setup\\desktop.ini", "y");
  os.files.SetAttributes("C:\\App\\desktop.ini", sys::attr::kHidden | sys::attr::kSystem);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\desktop.ini", "C:\\App\\desktop.ini", false), err::kAccessDenied);
  EXPECT_EQ(os.files.Open("C:\\App\\desktop.ini", FileAccess::Write, 0, Disposition::CreateAlways).error,
            err::kAccessDenied);
}

TEST(FakeFiles, ShareModesDecideWhoElseMayOpen) {
  FakeOs os;
  os.files.WriteText("C:\\App\\log.txt", "x");
  auto reader = os.files.Open("C:\\App\\log.txt", FileAccess::Read, share::kRead, Disposition::OpenExisting);
  ASSERT_TRUE(reader.ok());
  auto second = os.files.Open("C:\\App\\log.txt", FileAccess::Read, share::kRead, Disposition::OpenExisting);
  EXPECT_TRUE(second.ok());
  EXPECT_EQ(os.files.Open("C:\\App\\log.txt", FileAccess::Write, share::kRead, Disposition::OpenExisting).error,
            err::kSharingViolation);
  EXPECT_EQ(os.files.DeleteFile("C:\\App\\log.txt"), err::kSharingViolation);
  os.files.Close(reader.value);
  os.files.Close(second.value);

  auto deletable = os.files.Open("C:\\App\\log.txt", FileAccess::Read, share::kRead | share::kDelete,
                                 Disposition::OpenExisting);
  EXPECT_EQ(os.files.MoveFile("C:\\App\\log.txt", "C:\\App\\log.old", 0), err::kSuccess);
  EXPECT_EQ(ReadAll(os.files, deletable.value), "x");  // the handle follows the rename
}

TEST(FakeFiles, FileInUseByAnotherProgramAndMappedFiles) {
  FakeOs os;
  os.files.WriteText("C:\\App\\running.exe", "MZ1");
  os.files.WriteText("C:\\Setup\\running.exe", "MZ2");
  os.files.LockFile("C:\\App\\running.exe", share::kRead);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\running.exe", "C:\\App\\running.exe", false), err::kSharingViolation);
  EXPECT_EQ(os.files.DeleteFile("C:\\App\\running.exe"), err::kSharingViolation);
  // Replacing a held file by a move is refused with 5, not 32.
  EXPECT_EQ(os.files.MoveFile("C:\\Setup\\running.exe", "C:\\App\\running.exe", sys::move::kReplaceExisting),
            err::kAccessDenied);
  os.files.UnlockFile("C:\\App\\running.exe");

  os.files.MapFile("C:\\App\\running.exe");
  EXPECT_EQ(os.files.Open("C:\\App\\running.exe", FileAccess::Write, 0, Disposition::TruncateExisting).error,
            err::kUserMappedFile);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\running.exe", "C:\\App\\running.exe", false), err::kUserMappedFile);
  EXPECT_EQ(os.files.DeleteFile("C:\\App\\running.exe"), err::kAccessDenied);
  // A loaded library can still be renamed out of the way.
  EXPECT_EQ(os.files.MoveFile("C:\\App\\running.exe", "C:\\App\\running.old", 0), err::kSuccess);
  EXPECT_EQ(os.files.ReadText("C:\\App\\running.old"), "MZ1");
}

TEST(FakeFiles, ARunningProgramCanBeRenamedButNotReplaced) {
  FakeOs os;
  os.files.WriteText("C:\\App\\Fennic.exe", "old");
  os.files.WriteText("C:\\Setup\\Fennic.exe", "new");
  os.files.RunProgram("C:\\App\\Fennic.exe");
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\Fennic.exe", "C:\\App\\Fennic.exe", false), err::kSharingViolation);
  EXPECT_EQ(os.files.Open("C:\\App\\Fennic.exe", FileAccess::Write, share::kRead, Disposition::OpenExisting).error,
            err::kSharingViolation);
  EXPECT_EQ(os.files.DeleteFile("C:\\App\\Fennic.exe"), err::kAccessDenied);
  EXPECT_EQ(os.files.MoveFile("C:\\Setup\\Fennic.exe", "C:\\App\\Fennic.exe", sys::move::kReplaceExisting),
            err::kAccessDenied);
  EXPECT_EQ(os.files.CopyFile("C:\\App\\Fennic.exe", "C:\\Setup\\copy.exe", false), err::kSuccess);
  // The way out: rename the running file, then put the new one in its place.
  EXPECT_EQ(os.files.MoveFile("C:\\App\\Fennic.exe", "C:\\App\\Fennic.old", 0), err::kSuccess);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\Fennic.exe", "C:\\App\\Fennic.exe", false), err::kSuccess);
  EXPECT_EQ(os.files.DeleteFile("C:\\App\\Fennic.old"), err::kAccessDenied);
  os.files.EndProgram("C:\\App\\Fennic.old");
  EXPECT_EQ(os.files.DeleteFile("C:\\App\\Fennic.old"), err::kSuccess);
}

TEST(FakeFiles, DiskFullLeavesNoHalfWrittenCopy) {
  FakeOs os;
  os.files.WriteText("C:\\Setup\\big.cab", std::string(5000, 'x'));
  os.files.AddVolume("D:", fakes::VolumeSpec{});
  os.files.Volume("D:")->freeBytes = 4096;
  os.files.MakeDirectories("D:\\App");
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\big.cab", "D:\\App\\big.cab", false), err::kDiskFull);
  EXPECT_FALSE(os.files.Exists("D:\\App\\big.cab"));
  EXPECT_EQ(os.files.GetDiskSpace("D:\\App").value.freeToCaller, 4096u);

  auto handle = os.files.Open("D:\\App\\part.bin", FileAccess::Write, 0, Disposition::CreateAlways);
  EXPECT_EQ(os.files.Write(handle.value, std::string(4000, 'y').data(), 4000).value, 4000u);
  EXPECT_EQ(os.files.Write(handle.value, std::string(200, 'y').data(), 200).error, err::kDiskFull);
  os.files.Close(handle.value);
  EXPECT_EQ(os.files.GetDiskSpace("D:\\").value.freeToCaller, 96u);
  EXPECT_EQ(os.files.DeleteFile("D:\\App\\part.bin"), err::kSuccess);
  EXPECT_EQ(os.files.GetDiskSpace("D:\\").value.freeToCaller, 4096u);
}

TEST(FakeFiles, VolumesReportFileSystemAndClusters) {
  FakeOs os;
  fakes::VolumeSpec fat;
  fat.fileSystem = "FAT32";
  fat.sectorsPerCluster = 64;
  os.files.AddVolume("\\\\server\\share", fat);
  auto info = os.files.GetVolumeInfo("\\\\SERVER\\share\\");
  ASSERT_TRUE(info.ok());
  EXPECT_EQ(info.value.fileSystem, "FAT32");
  EXPECT_EQ(os.files.GetClusterInfo("\\\\server\\share\\").value.sectorsPerCluster, 64u);
  EXPECT_EQ(os.files.GetVolumeInfo("C:\\").value.fileSystem, "NTFS");
  EXPECT_EQ(os.files.GetVolumeInfo("C:").error, err::kInvalidName);  // the root needs its backslash
  EXPECT_EQ(os.files.GetVolumeInfo("E:\\").error, err::kPathNotFound);
}

TEST(FakeFiles, CdVolumeRefusesWrites) {
  FakeOs os;
  fakes::VolumeSpec cd;
  cd.fileSystem = "CDFS";
  cd.readOnly = true;
  os.files.AddVolume("E:", cd);
  os.files.WriteText("E:\\HalomirPlandrix.lst", "list");
  EXPECT_EQ(os.files.ReadText("E:\\HalomirPlandrix.lst"), "list");
  EXPECT_EQ(os.files.CreateDirectory("E:\\new"), err::kWriteProtect);
  EXPECT_EQ(os.files.DeleteFile("E:\\HalomirPlandrix.lst"), err::kWriteProtect);
  EXPECT_TRUE(os.files.Open("E:\\HalomirPlandrix.lst", FileAccess::Read, share::kRead, Disposition::OpenExisting).ok());
}

TEST(FakeFiles, DelayedMovesWaitForTheRestart) {
  FakeOs os;
  os.files.WriteText("C:\\App\\a.dll", "old");
  os.files.WriteText("C:\\App\\a.dll.new", "new");
  os.files.WriteText("C:\\App\\gone.dll", "x");
  os.files.MapFile("C:\\App\\a.dll");
  EXPECT_EQ(os.files.MoveFile("C:\\App\\a.dll.new", "C:\\App\\a.dll",
                              sys::move::kDelayUntilReboot | sys::move::kReplaceExisting),
            err::kSuccess);
  EXPECT_EQ(os.files.MoveFile("C:\\App\\gone.dll", "", sys::move::kDelayUntilReboot), err::kSuccess);
  ASSERT_EQ(os.files.PendingRenames().size(), 2u);
  EXPECT_EQ(os.files.PendingRenames()[1].to, "");
  EXPECT_EQ(os.files.ReadText("C:\\App\\a.dll"), "old");

  os.files.Restart();
  EXPECT_EQ(os.files.ReadText("C:\\App\\a.dll"), "new");
  EXPECT_FALSE(os.files.Exists("C:\\App\\a.dll.new"));
  EXPECT_FALSE(os.files.Exists("C:\\App\\gone.dll"));
  EXPECT_TRUE(os.files.PendingRenames().empty());
}

TEST(FakeFiles, MovesAcrossVolumesNeedCopyAllowed) {
  FakeOs os;
  os.files.AddVolume("D:");
  os.files.WriteText("C:\\Setup\\x.txt", "x");
  EXPECT_EQ(os.files.MoveFile("C:\\Setup\\x.txt", "D:\\x.txt", 0), fakes::errnum::kNotSameDevice);
  EXPECT_EQ(os.files.MoveFile("C:\\Setup\\x.txt", "D:\\x.txt", sys::move::kCopyAllowed), err::kSuccess);
  EXPECT_EQ(os.files.ReadText("D:\\x.txt"), "x");
  EXPECT_FALSE(os.files.Exists("C:\\Setup\\x.txt"));
  os.files.WriteText("C:\\Setup\\y.txt", "y");
  EXPECT_EQ(os.files.MoveFile("C:\\Setup\\y.txt", "D:\\x.txt", sys::move::kCopyAllowed), err::kAlreadyExists);
}

TEST(FakeFiles, DirectoriesMustBeEmptyToGo) {
  FakeOs os;
  EXPECT_EQ(os.files.CreateDirectory("C:\\Data"), err::kSuccess);
  EXPECT_EQ(os.files.CreateDirectory("C:\\data"), err::kAlreadyExists);
  EXPECT_EQ(os.files.CreateDirectory("C:\\Data\\a\\b"), err::kPathNotFound);
  os.files.WriteText("C:\\Data\\f.txt", "");
  EXPECT_EQ(os.files.GetAttributes("C:\\DATA").value, sys::attr::kDirectory);
  EXPECT_EQ(os.files.RemoveDirectory("C:\\Data"), err::kDirNotEmpty);
  EXPECT_EQ(os.files.DeleteFile("C:\\Data"), err::kAccessDenied);
  os.files.DeleteFile("C:\\Data\\F.TXT");
  EXPECT_EQ(os.files.RemoveDirectory("C:\\Data"), err::kSuccess);
}

TEST(FakeFiles, FoldersWithAnAccessListKeepTheirDescriptor) {
  FakeOs os;
  EXPECT_EQ(os.files.CreateDirectoryWithAccessList("C:\\Shared", "D:(A;OICI;FA;;;AU)"), err::kSuccess);
  EXPECT_EQ(os.files.DescriptorOf("c:\\shared"), "D:(A;OICI;FA;;;AU)");
  EXPECT_EQ(os.files.CreateDirectoryWithAccessList("C:\\Shared", "D:(A;OICI;FA;;;AU)"), err::kAlreadyExists);
  EXPECT_EQ(os.files.CreateDirectoryWithAccessList("C:\\Other", "everyone"), fakes::errnum::kInvalidSecurityDescriptor);
  EXPECT_FALSE(os.files.Exists("C:\\Other"));
  os.files.CreateDirectory("C:\\Plain");
  EXPECT_EQ(os.files.DescriptorOf("C:\\Plain"), std::nullopt);
}

TEST(FakeFiles, TempNamesAreUniqueAndCreated) {
  FakeOs os;
  auto first = os.files.CreateTempFile("C:\\Users\\tester\\AppData\\Local\\Temp\\", "pdx");
  auto second = os.files.CreateTempFile("C:\\Users\\tester\\AppData\\Local\\Temp", "pdxlong");
  ASSERT_TRUE(first.ok() && second.ok());
  EXPECT_NE(first.value, second.value);
  EXPECT_TRUE(os.files.Exists(first.value));
  EXPECT_EQ(first.value.rfind("C:\\Users\\tester\\AppData\\Local\\Temp\\pdx", 0), 0u);
  EXPECT_EQ(first.value.substr(first.value.size() - 4), ".tmp");
  // Only the first three letters of the prefix are used.
  EXPECT_EQ(second.value.find("pdxl"), std::string::npos);
  EXPECT_EQ(os.files.CreateTempFile("C:\\Missing", "pdx").error, err::kPathNotFound);
}

TEST(FakeFiles, VersionsTravelWithCopies) {
  FakeOs os;
  os.files.SetFileVersion("C:\\Setup\\a.dll", {17, 0, 3, 12});
  os.files.WriteText("C:\\Setup\\readme.txt", "text");
  EXPECT_EQ(os.files.GetFileVersion("C:\\Setup\\readme.txt").error, fakes::errnum::kNoVersionResource);
  EXPECT_EQ(os.files.GetFileVersion("C:\\Setup\\none.dll").error, err::kFileNotFound);
  os.files.CopyFile("C:\\Setup\\a.dll", "C:\\Windows\\a.dll", false);
  EXPECT_EQ(os.files.GetFileVersion("C:\\Windows\\A.DLL").value, (sys::FileVersion{17, 0, 3, 12}));
}

TEST(FakeFiles, ShortPathsKeepShortNamesAndAliasLongOnes) {
  FakeOs os;
  os.files.WriteText("C:\\Program Files\\Molvex\\HalomirPlandrix.exe", "");
  os.files.MakeDirectories("C:\\Program Data");
  auto shortPath = os.files.GetShortPath("C:\\program files\\molvex\\HalomirPlandrix.exe");
  ASSERT_TRUE(shortPath.ok());
  EXPECT_EQ(shortPath.value, "C:\\PROGRA~2\\Molvex\\HALOMI~1.EXE");
  EXPECT_EQ(os.files.GetShortPath("C:\\Program Data").value, "C:\\PROGRA~1");
  EXPECT_EQ(os.files.GetShortPath("C:\\nothing here").error, err::kFileNotFound);
}

TEST(FakeFiles, TimesComeFromTheClockAndCopiesKeepLastWrite) {
  FakeOs os;
  os.files.WriteText("C:\\Setup\\a.txt", "a");
  uint64_t written = os.files.TimesOf("C:\\Setup\\a.txt")->lastWrite;
  EXPECT_EQ(written, os.clock.NowFileTime());
  os.clock.Advance(60000);
  os.files.CopyFile("C:\\Setup\\a.txt", "C:\\Setup\\b.txt", false);
  EXPECT_EQ(os.files.TimesOf("C:\\Setup\\b.txt")->lastWrite, written);
  EXPECT_EQ(os.files.TimesOf("C:\\Setup\\b.txt")->creation, os.clock.NowFileTime());
}

TEST(FakeFiles, FaultsCanTargetOnePath) {
  FakeOs os;
  os.files.WriteText("C:\\Setup\\a.txt", "a");
  os.files.faults.FailNext(fakes::FileOp::CopyFile, err::kSharingViolation, 2, "C:\\App\\a.txt");
  os.files.MakeDirectories("C:\\App");
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.txt", "C:\\Other.txt", false), err::kSuccess);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.txt", "c:\\app\\A.TXT", false), err::kSharingViolation);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.txt", "C:\\App\\a.txt", false), err::kSharingViolation);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.txt", "C:\\App\\a.txt", false), err::kSuccess);
}

TEST(FakeFiles, TwoThreadsMayWorkAtOnce) {
  FakeOs os;
  auto writer = [&](char letter) {
    for (int i = 0; i < 200; ++i) {
      std::string path = "C:\\Setup\\" + std::string(1, letter) + std::to_string(i) + ".txt";
      auto handle = os.files.Open(path, FileAccess::Write, 0, Disposition::CreateAlways);
      if (handle.ok()) os.files.Write(handle.value, &letter, 1);
      os.files.Close(handle.value);
    }
  };
  std::thread first(writer, 'a');
  std::thread second(writer, 'b');
  first.join();
  second.join();
  EXPECT_EQ(os.files.Find("C:\\Setup\\*.txt").value.size(), 400u);
  EXPECT_EQ(os.files.ReadText("C:\\Setup\\b199.txt"), "b");
  EXPECT_EQ(os.files.OpenHandleCount(), 0);
}

TEST(ForwardingFiles, ChangesOneCallAndPassesTheRestOn) {
  FakeOs os;
  // A copy that another program overtakes: the target appears just before the copy.
  struct RacedCopy : fakes::ForwardingFiles {
    using ForwardingFiles::ForwardingFiles;
    sys::Error CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
      static_cast<fakes::FakeFiles&>(inner_).WriteText(to, "theirs");
      return inner_.CopyFile(from, to, failIfExists);
    }
  } raced{os.files};
  sys::os().files = &raced;
  os.files.WriteText("C:\\Setup\\a.txt", "ours");
  EXPECT_EQ(sys::os().files->CopyFile("C:\\Setup\\a.txt", "C:\\Setup\\b.txt", true), err::kFileExists);
  EXPECT_EQ(sys::os().files->GetAttributes("C:\\Setup\\b.txt").value, sys::attr::kArchive);
}

}  // namespace
