// What only the fake does, which other unit tests lean on: failures chosen by error
// number, scripted answers, volumes of any shape, refused registry keys, the calendar.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "session/session.h"
#include "sys/os.h"
#include "sys/registry_helpers.h"

namespace {

namespace err = sys::err;

TEST(FakeFaults, NextNthAndAlwaysWithAndWithoutAPath) {
  FakeOs os;
  os.files.WriteText("C:\\Setup\\a.txt", "a");
  os.files.MakeDirectories("C:\\App");
  os.files.faults.FailNext(fakes::FileOp::CopyFile, err::kSharingViolation, 2, "C:\\App\\a.txt");
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.txt", "C:\\Other.txt", false), err::kSuccess);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.txt", "c:\\app\\A.TXT", false), err::kSharingViolation);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.txt", "C:\\App\\a.txt", false), err::kSharingViolation);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.txt", "C:\\App\\a.txt", false), err::kSuccess);

  os.registry.PutString(sys::Hive::CurrentUser, "Software\\A", "v", "1");
  os.registry.faults.FailNth(fakes::RegistryOp::QueryValue, 2, err::kAccessDenied);
  EXPECT_EQ(sys::QueryString(sys::Hive::CurrentUser, "Software\\A", "v"), "1");
  EXPECT_EQ(sys::QueryString(sys::Hive::CurrentUser, "Software\\A", "v"), std::nullopt);
  EXPECT_EQ(sys::QueryString(sys::Hive::CurrentUser, "Software\\A", "v"), "1");
  EXPECT_EQ(os.registry.faults.Calls(fakes::RegistryOp::QueryValue), 3);

  os.processes.faults.FailAlways(fakes::ProcessOp::Create, err::kFileNotFound);
  EXPECT_EQ(os.processes.Create("a.exe", {}).error, err::kFileNotFound);
  EXPECT_EQ(os.processes.Create("b.exe", {}).error, err::kFileNotFound);
  os.processes.faults.Clear();
  EXPECT_TRUE(os.processes.Create("b.exe", {}).ok());
}

TEST(FakeMachine, InstallsItselfAndStartsAFreshSession) {
  {
    FakeOs os;
    EXPECT_EQ(sys::os().files, &os.files);
    EXPECT_TRUE(os.files.IsDirectory(os.desktop.tempFolder));
    Session().installMode = kCdNetwork;
  }
  EXPECT_EQ(sys::os().files, nullptr);
  FakeOs fresh;
  EXPECT_EQ(Session().installMode, 0);
}

TEST(FakeDesktop, BoxesTakeScriptedAnswersThenTheirDefaultButton) {
  FakeOs os;
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore});
  EXPECT_EQ(os.desktop.MessageBox(7, "a", "cap", 0x2), sys::answer::kRetry);
  EXPECT_EQ(os.desktop.MessageBox(7, "b", "cap", 0x2), sys::answer::kIgnore);
  EXPECT_EQ(os.desktop.MessageBox(7, "c", "cap", 0x2), sys::answer::kAbort);
  EXPECT_EQ(os.desktop.MessageBox(0, "d", "cap", 0x4), sys::answer::kYes);
  EXPECT_EQ(os.desktop.MessageBox(0, "e", "cap", 0x5), sys::answer::kRetry);
  ASSERT_EQ(os.desktop.boxes.size(), 5u);
  EXPECT_EQ(os.desktop.boxes[1].text, "b");
  EXPECT_EQ(os.desktop.boxes[1].answer, sys::answer::kIgnore);
}

TEST(FakeVolumes, FullDisksCdsAndMovesBetweenVolumes) {
  FakeOs os;
  os.files.WriteText("C:\\Setup\\big.cab", std::string(5000, 'x'));
  fakes::VolumeFacts small;
  small.freeBytes = 4096;
  os.files.AddVolume("D:", small);
  os.files.MakeDirectories("D:\\App");
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\big.cab", "D:\\App\\big.cab", false), err::kDiskFull);
  EXPECT_FALSE(os.files.Exists("D:\\App\\big.cab"));  // no half-made copy
  auto part = os.files.Open("D:\\App\\part.bin", sys::FileAccess::Write, 0, sys::Disposition::CreateAlways);
  EXPECT_EQ(os.files.Write(part.value, std::string(4000, 'y').data(), 4000).value, 4000u);
  EXPECT_EQ(os.files.Write(part.value, std::string(200, 'y').data(), 200).error, err::kDiskFull);
  os.files.Close(part.value);
  EXPECT_EQ(os.files.GetDiskSpace("D:\\").value.freeToCaller, 96u);
  os.files.DeleteFile("D:\\App\\part.bin");
  EXPECT_EQ(os.files.GetDiskSpace("D:\\App").value.freeToCaller, 4096u);

  os.files.WriteText("C:\\Setup\\x.txt", "x");
  EXPECT_EQ(os.files.MoveFile("C:\\Setup\\x.txt", "D:\\x.txt", 0), fakes::errnum::kNotSameDevice);
  EXPECT_EQ(os.files.MoveFile("C:\\Setup\\x.txt", "D:\\x.txt", sys::move::kCopyAllowed), err::kSuccess);
  EXPECT_FALSE(os.files.Exists("C:\\Setup\\x.txt"));

  fakes::VolumeFacts cd;
  cd.fileSystem = "CDFS";
  cd.readOnly = true;
  os.files.AddVolume("\\\\server\\share", cd);
  os.files.WriteText("\\\\server\\share\\list.lst", "list");
  EXPECT_EQ(os.files.GetVolumeInfo("\\\\SERVER\\share\\").value.fileSystem, "CDFS");
  EXPECT_EQ(os.files.CreateDirectory("\\\\server\\share\\new"), err::kWriteProtect);
  EXPECT_EQ(os.files.DeleteFile("\\\\server\\share\\list.lst"), err::kWriteProtect);
  EXPECT_EQ(os.files.ReadText("\\\\server\\share\\LIST.LST"), "list");
}

TEST(FakeRegistry, RefusedWritingLeavesReadingAlone) {
  FakeOs os;
  using sys::Hive;
  os.registry.PutString(Hive::LocalMachine, "Software\\Molvex", "Owner", "admin");
  os.registry.RefuseAccess(Hive::LocalMachine, "Software", sys::KeyAccess::Write);
  EXPECT_EQ(sys::QueryString(Hive::LocalMachine, "Software\\Molvex", "Owner"), "admin");
  EXPECT_EQ(sys::SetString(Hive::LocalMachine, "Software\\Molvex", "Owner", "user"), err::kAccessDenied);
  EXPECT_EQ(sys::os().registry->CreateKey(Hive::LocalMachine, "Software\\Molvex\\New"), err::kAccessDenied);
  EXPECT_EQ(sys::os().registry->CreateKey(Hive::CurrentUser, "Software\\Molvex\\New"), err::kSuccess);
  os.registry.RefuseAccess(Hive::LocalMachine, "Software\\Molvex", sys::KeyAccess::Read);
  EXPECT_EQ(sys::QueryString(Hive::LocalMachine, "Software\\Molvex", "Owner"), std::nullopt);
}

TEST(FakeClock, SleepsCrossTheTickWrapAndALeapDay) {
  FakeOs os;
  os.clock.SetTickCount(0xFFFFFF00u);
  os.clock.SetNow(sys::LocalTime{2024, 2, 4, 29, 23, 59, 59, 500});
  os.clock.Sleep(0x200);
  EXPECT_EQ(os.clock.TickCount(), 0x100u);
  sys::LocalTime next = os.clock.Now();
  EXPECT_EQ(next.month * 100 + next.day, 301);
  EXPECT_EQ(next.dayOfWeek, 5);  // a Friday
  EXPECT_EQ(next.second * 1000 + next.milliseconds, 12);
}

// Windows refuses to change a read-only file; Wine running as root does not, so the
// seam contract leaves this out.
TEST(FakeFiles, ReadOnlyBitBlocksWritingDeletingAndReplacing) {
  FakeOs os;
  os.files.WriteText("C:\\App\\a.dll", "old");
  os.files.WriteText("C:\\Setup\\a.dll", "new");
  os.files.SetAttributes("C:\\App\\a.dll", sys::attr::kReadOnly);
  EXPECT_EQ(os.files.Open("C:\\App\\a.dll", sys::FileAccess::Write, 0, sys::Disposition::OpenExisting).error,
            err::kAccessDenied);
  EXPECT_EQ(os.files.DeleteFile("C:\\App\\a.dll"), err::kAccessDenied);
  EXPECT_EQ(os.files.CopyFile("C:\\Setup\\a.dll", "C:\\App\\a.dll", false), err::kAccessDenied);
  EXPECT_EQ(os.files.MoveFile("C:\\Setup\\a.dll", "C:\\App\\a.dll", sys::move::kReplaceExisting), err::kAccessDenied);
  EXPECT_EQ(os.profiles.WriteString("C:\\App\\a.dll", "S", std::string("k"), std::string("v")), err::kAccessDenied);
  EXPECT_EQ(os.files.ReadText("C:\\App\\a.dll"), "old");
}

}  // namespace
