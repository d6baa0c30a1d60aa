// The desktop, clock and processes of the pretend machine, and FakeOs itself.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "session/session.h"
#include "sys/os.h"

namespace {

namespace err = sys::err;

TEST(FakeOs, InstallsItselfAndUninstallsOnExit) {
  {
    FakeOs os;
    EXPECT_EQ(sys::os().files, &os.files);
    EXPECT_EQ(sys::os().processes, &os.processes);
    EXPECT_TRUE(os.files.IsDirectory("C:\\Windows\\system32"));
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
  EXPECT_EQ(os.desktop.boxes[0].owner, 7u);
}

TEST(FakeDesktop, StringsFromTheTestWinOverTheLoader) {
  FakeOs os;
  os.desktop.stringLoader = [](uint32_t id) { return id == 132 ? std::string("Error") : std::string(); };
  os.desktop.strings[600] = "Settings file found";
  EXPECT_EQ(os.desktop.LoadString(600), "Settings file found");
  EXPECT_EQ(os.desktop.LoadString(132), "Error");
  EXPECT_EQ(os.desktop.LoadString(19), "");
  EXPECT_EQ(os.desktop.GetSpecialFolder(0x7777).error, err::kFileNotFound);
}

TEST(FakeDesktop, ServesTheProductStringTableOnRequest) {
  FakeOs os;
  EXPECT_EQ(os.desktop.LoadString(11), "");
  os.desktop.UseProductStrings();
  EXPECT_EQ(os.desktop.LoadString(11), "Plandrix_T17_AE.exe");
  os.desktop.UseProductStrings(StringTableBuild::kGeneric);
  EXPECT_EQ(os.desktop.LoadString(11), "HalomirPlandrix.exe");
  EXPECT_EQ(os.desktop.LoadString(19), "");  // an entry the table leaves out
}

TEST(FakeClock, SleepAdvancesEveryKindOfTime) {
  FakeOs os;
  os.clock.SetTickCount(0xFFFFFF00u);
  uint64_t before = os.clock.NowFileTime();
  os.clock.Sleep(0x200);
  EXPECT_EQ(os.clock.TickCount(), 0x100u);  // wraps like GetTickCount
  EXPECT_EQ(os.clock.NowFileTime() - before, 0x200u * 10000);
  EXPECT_EQ(os.clock.sleepCalls, 1);

  sys::LocalTime leapDay{2024, 2, 4, 29, 23, 59, 59, 500};
  os.clock.SetNow(leapDay);
  os.clock.Sleep(1000);
  sys::LocalTime next = os.clock.Now();
  EXPECT_EQ(next.year, 2024);
  EXPECT_EQ(next.month, 3);
  EXPECT_EQ(next.day, 1);
  EXPECT_EQ(next.dayOfWeek, 5);  // a Friday
  EXPECT_EQ(next.hour, 0);
  EXPECT_EQ(next.second, 0);
  EXPECT_EQ(next.milliseconds, 500);
}

TEST(FakeProcesses, ScriptedProgramsRunTheirCourseOnTheFakeClock) {
  FakeOs os;
  fakes::ProgramScript hangs;
  hangs.runsForMilliseconds = 45000;
  hangs.exitCode = 3;
  os.processes.Script("regsvr32", hangs);
  sys::StartOptions options;
  options.workingFolder = "C:\\App";
  os.processes.SetErrorMode(0x8001);
  auto process = os.processes.Create("\"C:\\Windows\\system32\\REGSVR32.exe\" /s x.dll", options);
  ASSERT_TRUE(process.ok());
  EXPECT_EQ(os.processes.started[0].options.workingFolder, "C:\\App");
  EXPECT_EQ(os.processes.started[0].errorMode, 0x8001u);

  EXPECT_EQ(os.processes.Wait(process.value, 30000), err::kWaitTimeout);
  EXPECT_EQ(os.processes.GetExitCode(process.value).value, err::kStillActive);
  EXPECT_EQ(os.processes.Wait(process.value, 30000), err::kSuccess);
  EXPECT_EQ(os.processes.GetExitCode(process.value).value, 3u);
  EXPECT_EQ(os.processes.Close(process.value), err::kSuccess);
  EXPECT_EQ(os.processes.OpenHandleCount(), 0);
}

TEST(FakeProcesses, EffectsAndOneShotRulesAndFailures) {
  FakeOs os;
  fakes::ProgramScript installer;
  installer.times = 1;
  installer.exitCode = 1641;
  installer.effect = [&] { os.files.WriteText("C:\\Windows\\installed.txt", "yes"); };
  os.processes.Script("setup.exe", installer);
  auto first = os.processes.Create("C:\\Setup\\SETUP.EXE /q", {});
  EXPECT_EQ(os.files.ReadText("C:\\Windows\\installed.txt"), "yes");
  os.processes.Wait(first.value, sys::kWaitForever);
  EXPECT_EQ(os.processes.GetExitCode(first.value).value, 1641u);
  auto second = os.processes.Create("C:\\Setup\\setup.exe /q", {});
  EXPECT_EQ(os.processes.GetExitCode(second.value).value, 0u);

  os.processes.faults.FailNext(fakes::ProcessOp::Create, err::kFileNotFound);
  EXPECT_EQ(os.processes.Create("missing.exe", {}).error, err::kFileNotFound);
  EXPECT_EQ(os.processes.started.size(), 2u);
}

TEST(FakeProcesses, WindowsAndProcessListsAnswerWithoutCase) {
  FakeOs os;
  os.processes.windows.push_back({"XLMAIN", "Book1", 42});
  EXPECT_EQ(os.processes.FindTopLevelWindow("xlmain", ""), 42u);
  EXPECT_EQ(os.processes.FindTopLevelWindow("rctrl_renwnd32", ""), std::nullopt);
  os.processes.runningProcesses.push_back("inetinfo.exe");
  EXPECT_EQ(os.processes.ListProcessNames().value.back(), "inetinfo.exe");
}

}  // namespace
