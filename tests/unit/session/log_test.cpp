// The log file and the logged message box.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "fakes/fake_os.h"
#include "session/log.h"
#include "session/session.h"
#include "sys/os.h"
#include "session/knownplaces.h"

namespace {

constexpr const char* kInstallDir = "C:\\Molvex Software\\Fennic Duziderav";
constexpr const char* kInstallLog = "C:\\Molvex Software\\Fennic Duziderav\\usr\\Plandrix.log";
constexpr const char* kDocumentsLog = "C:\\Users\\tester\\Documents\\Plandrix.log";

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseLog();
    ResolveKnownPlaces();
    Session().installDir = kInstallDir;
    os.files.MakeDirectories(std::string(kInstallDir) + "\\usr");
  }
  void TearDown() override { CloseLog(); }

  std::string InstallLog() { return os.files.ReadText(kInstallLog).value_or("<no log>"); }

  FakeOs os;
};

TEST_F(LogTest, QuestionsAndTheirAnswersAreLogged) {
  EXPECT_EQ(LoggedMessageBox(0, "Done", "", mb::kOk | mb::kSetForeground, sys::answer::kOk), sys::answer::kOk);
  os.desktop.QueueAnswers({sys::answer::kOk, sys::answer::kRetry, 11});
  EXPECT_EQ(LoggedMessageBox(0, "Go on?", "", mb::kOkCancel, sys::answer::kCancel), sys::answer::kOk);
  LoggedMessageBox(0, "Q", "", mb::kAbortRetryIgnore, sys::answer::kAbort);
  LoggedMessageBox(0, "Q", "", mb::kAbortRetryIgnore, sys::answer::kAbort);  // an unknown answer has no line
  ASSERT_EQ(os.desktop.boxes.size(), 4u);
  EXPECT_EQ(os.desktop.boxes[0].type, mb::kOk | mb::kSetForeground);
  // A silent run takes the default answer without a box.
  Session().silent = true;
  EXPECT_EQ(LoggedMessageBox(0, "Replace?", "Caption", mb::kYesNo, sys::answer::kNo), sys::answer::kNo);
  EXPECT_EQ(os.desktop.boxes.size(), 4u);
  EXPECT_EQ(InstallLog(), "Done\r\nGo on?\r\n--> Ok\r\nQ\r\n--> Retry\r\nQ\r\nReplace?\r\n--> No\r\n");

  Session().silent = false;  // a box the system cannot show takes the default, so retries end
  os.desktop.faults.FailNext(fakes::DesktopOp::MessageBox, 1400);
  EXPECT_EQ(LoggedMessageBox(0, "Retry?", "", mb::kRetryCancel | mb::kIconStop, sys::answer::kCancel),
            sys::answer::kCancel);
}

TEST_F(LogTest, ARunTruncatesTheEarlierLogCutsLongLinesAndWritesWhereTheInstallationIs) {
  os.files.WriteText(kInstallLog, "an earlier run's long log\r\n");
  WriteLog("first line of %d", 2);
  WriteLog("%s", std::string(1500, 'x').c_str());
  LoggedMessageBox(0, "Cannot copy C:\\100%s\\%n.dll", "", mb::kOk, sys::answer::kOk);
  EXPECT_EQ(InstallLog(), "first line of 2\r\n" + std::string(999, 'x') + "\r\nCannot copy C:\\100%s\\%n.dll\r\n");
  CloseLog();  // a line after the clean-up (a failed restart request) keeps the run's lines
  WriteLog("late");
  EXPECT_EQ(InstallLog().substr(InstallLog().size() - 14), "%n.dll\r\nlate\r\n");

  // Until the installation's usr folder exists the log goes to the documents (as a CD creation's does).
  StartNewLog();
  Session().installDir = "D:\\Nowhere";  // a fresh machine
  WriteLog("fresh machine");
  EXPECT_EQ(os.files.ReadText(kDocumentsLog), "fresh machine\r\n");
  CloseLog();
  Session().installDir = "C:\\Fin";
  os.files.MakeDirectories("C:\\Fin");
  WriteLog("lost");  // the folder exists but not its usr folder
  os.files.MakeDirectories("C:\\Fin\\usr");
  WriteLog("kept");
  EXPECT_EQ(os.files.ReadText("C:\\Fin\\usr\\Plandrix.log"), "kept\r\n");
}

// Files whose every write goes out in two pieces, as an operating system may do: only
// the log's own lock keeps the lines of two threads whole.
class PiecewiseFiles : public fakes::FakeFiles {
 public:
  using FakeFiles::FakeFiles;
  sys::Result<uint32_t> Write(sys::FileHandle file, const void* buffer, uint32_t size) override {
    uint32_t half = size / 2;
    FakeFiles::Write(file, buffer, half);
    std::this_thread::yield();
    FakeFiles::Write(file, static_cast<const char*>(buffer) + half, size - half);
    return sys::Result<uint32_t>::Ok(size);
  }
};

TEST_F(LogTest, LinesOfTwoThreadsNeverInterleave) {
  PiecewiseFiles files(os.clock);
  files.MakeDirectories(std::string(kInstallDir) + "\\usr");
  sys::os().files = &files;
  constexpr int kLines = 300;
  auto writer = [](char letter) {
    std::string text(80, letter);
    for (int i = 0; i < kLines; ++i) WriteLog("%s", text.c_str());
  };
  std::thread first(writer, 'a');
  std::thread second(writer, 'b');
  first.join();
  second.join();
  CloseLog();
  sys::os().files = &os.files;
  std::string log = files.ReadText(kInstallLog).value_or("<no log>");
  std::size_t lines = 0;
  for (std::size_t start = 0; start < log.size(); ++lines) {
    std::size_t end = log.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    std::string line = log.substr(start, end - start);
    ASSERT_TRUE(line == std::string(80, 'a') || line == std::string(80, 'b')) << line;
    start = end + 2;
  }
  EXPECT_EQ(lines, 2u * kLines);
}

TEST(LogWithoutFiles, DropsTheLineAndTheMessageBoxStillAnswers) {
  CloseLog();
  sys::InstallOs(sys::Os{});
  ResetSessionState();
  WriteLog("nowhere to go");
  EXPECT_EQ(LoggedMessageBox(0, "Q", "", mb::kYesNo, sys::answer::kNo), sys::answer::kNo);
  EXPECT_EQ(LoadText(600), "");
}

}  // namespace
