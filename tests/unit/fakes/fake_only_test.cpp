// What only the fake does, which other unit tests lean on: default answers, volumes of
// any shape, the calendar, read-only files. Faults and refused keys are covered by the
// tests that use them.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "session/session.h"
#include "sys/os.h"

namespace {

namespace err = sys::err;

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
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_EQ(os.desktop.MessageBox(7, "a", "cap", 0x2), sys::answer::kIgnore);
  EXPECT_EQ(os.desktop.MessageBox(7, "b", "cap", 0x2), sys::answer::kAbort);
  EXPECT_EQ(os.desktop.MessageBox(0, "c", "cap", 0x5), sys::answer::kRetry);
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
