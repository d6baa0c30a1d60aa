// Fetching one item from the site: the request with its sizes, the size check and the
// site's corrected sizes, the Abort/Retry/Ignore question, the cache pass, protected
// targets, a cabinet that does not expand, and what every path leaves on the disk.
#include "fakes/forwarding_files.h"
#include "item_fixture.h"
#include "updaterun/installentries.h"
#include "filelist/listdate.h"

namespace {

constexpr const char* kTarget = "C:\\Fin\\bin\\a.dll";

class FetchItemTest : public ItemTest {};

TEST_F(FetchItemTest, AnItemOfTheListsSizeIsPlacedAndNothingIsLeftBehind) {
  FileEntry entry = Entry("a.dll", 5);
  Serve(entry, "12345");
  EXPECT_TRUE(InstallItem(entry, kPassSingle));
  EXPECT_EQ(os.files.ReadText(kTarget), "12345");
  EXPECT_EQ(os.files.TimesOf(kTarget)->lastWrite, ParseListDate("24-12-2025 10:30:00"));
  EXPECT_EQ(Requests(ItemRequest(entry)), 1);
  EXPECT_TRUE(Logged("C:\\Fin\\bin\\a.dll ---> OK"));
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_TRUE(TemporaryFiles().empty());  // neither the download nor the unused expansion file
  EXPECT_EQ(os.internet.deletedCacheEntries, std::vector<std::string>{ItemRequest(entry)});
  CloseLog();
  EXPECT_EQ(os.files.OpenHandleCount(), 0);
}

TEST_F(FetchItemTest, TheSitesOwnSizesAreRequestedAgainAndCountedOnce) {
  FileEntry entry = Entry("a.dll", 5);
  ServeOnce(ItemRequest(entry), "_ItemAttachmentSizes_\r\n7\t0");
  Serve(Entry("a.dll", 7), "1234567");
  UpdateProgress([](ProgressState& progress) { progress.totalDone = 1000; });
  EXPECT_TRUE(InstallItem(entry, kPassSingle));
  EXPECT_EQ(os.files.ReadText(kTarget), "1234567");
  EXPECT_EQ(Requests(ItemRequest(entry, 7, 0)), 1);
  EXPECT_TRUE(os.desktop.boxes.empty());
  // The sizes reply's bytes do not stay in the totals.
  EXPECT_EQ(Progress().itemDone, 7);
  EXPECT_EQ(Progress().totalDone, 1007);
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(FetchItemTest, CorrectedSizesCanMakeACabinetWhichIsCheckedAgainstItsOwnSize) {
  FileEntry entry = Entry("a.dll", 100);
  ServeOnce(ItemRequest(entry), "_ItemAttachmentSizes_\r\n2048\t1024");
  os.internet.Serve(ItemRequest(entry, 2048, 1024), std::string(1024, 'c'));
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_TRUE(InstallItem(entry, kPassSingle));
  // 1024 bytes pass the size check; these are no cabinet, so the expansion question comes.
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text.rfind("Failed to expand cabinet file: 'C:\\Temp\\_sy", 0), 0u)
      << os.desktop.boxes[0].text;
  EXPECT_FALSE(os.files.Exists(kTarget));
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(FetchItemTest, ASiteThatKeepsChangingSizesIsAskedAboutAfterFiveMoreRequests) {
  FileEntry entry = Entry("a.dll", 5);
  Serve(entry, "_ItemAttachmentSizes_\r\n5\t0");
  SetProgressWindow(0x4711);
  os.desktop.QueueAnswers({sys::answer::kAbort});
  EXPECT_FALSE(InstallItem(entry, kPassSingle));
  SetProgressWindow(0);
  EXPECT_EQ(Requests(ItemRequest(entry)), 6);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text, "Failed to download: " + ItemRequest(entry) + " (Incorrect number of bytes).");
  EXPECT_EQ(os.desktop.boxes[0].owner, 0x4711u);
  EXPECT_EQ(os.desktop.boxes[0].caption, "Fennic Duziderav");
  EXPECT_EQ(os.desktop.boxes[0].type & 0xF, static_cast<uint32_t>(mb::kAbortRetryIgnore));
  EXPECT_TRUE(os.desktop.boxes[0].type & mb::kIconStop);
  EXPECT_TRUE(Logged("C:\\Fin\\bin\\a.dll ---> Aborted"));
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(FetchItemTest, AShortOrRefusedTransferIsAskedAboutAndIgnoreLeavesTheTargetAlone) {
  os.files.WriteText(kTarget, "old");
  FileEntry shortOne = Entry("a.dll", 5);
  Serve(shortOne, "123");
  FileEntry refused = Entry("b.dll", 5);
  Serve(refused, "__ERROR__Item CSFNC_b.dll is not released");
  os.desktop.QueueAnswers({sys::answer::kIgnore, sys::answer::kIgnore});

  EXPECT_TRUE(InstallItem(shortOne, kPassSingle));
  EXPECT_TRUE(InstallItem(refused, kPassSingle));
  ASSERT_EQ(os.desktop.boxes.size(), 2u);
  EXPECT_EQ(os.desktop.boxes[0].text, "Failed to download: " + ItemRequest(shortOne) + " (Incorrect number of bytes).");
  EXPECT_EQ(os.desktop.boxes[1].text,
            "Failed to download: " + ItemRequest(refused) + " \r\nItem CSFNC_b.dll is not released.");
  EXPECT_EQ(os.files.ReadText(kTarget), "old");
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\bin\\b.dll"));
  EXPECT_TRUE(Logged("C:\\Fin\\bin\\a.dll ---> Ignored"));
  EXPECT_TRUE(Logged("C:\\Fin\\bin\\b.dll ---> Ignored"));
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(FetchItemTest, RetryForgetsTheCachedReplyAndTheShortFileAndTransfersAgain) {
  FileEntry entry = Entry("a.dll", 5);
  ServeOnce(ItemRequest(entry), "12");
  ServeOnce(ItemRequest(entry), "12345");
  os.desktop.QueueAnswers({sys::answer::kRetry});
  EXPECT_TRUE(InstallItem(entry, kPassSingle));
  EXPECT_EQ(os.files.ReadText(kTarget), "12345");
  EXPECT_EQ(Requests(ItemRequest(entry)), 2);
  // Once before the second request, once after the placement.
  EXPECT_EQ(os.internet.deletedCacheEntries.size(), 2u);
  EXPECT_TRUE(Logged("--> Retry"));
  EXPECT_TRUE(TemporaryFiles().empty());  // the short file went before the new attempt
}

TEST_F(FetchItemTest, TheCachePassTransfersOnlyWhatIsNotCurrentAndExpandsNothing) {
  FileEntry current = Entry("a.dll", 5);
  current.downloadNeeded = false;
  FileEntry cabinet = Entry("b.dll", 10, "bin", 4);
  Serve(cabinet, "MSCF");

  EXPECT_TRUE(InstallItem(current, kPassToCache));
  EXPECT_TRUE(InstallItem(cabinet, kPassToCache));
  EXPECT_EQ(Requests(ItemRequest(current)), 0);
  EXPECT_TRUE(Logged("C:\\Temp\\Molvex Update Setup Files\\bin\\a.dll ---> OK"));
  // The cabinet waits in the cache as it came, dated with the list's date, for pass 2.
  const std::string cached = "C:\\Temp\\Molvex Update Setup Files\\bin\\b.dll";
  EXPECT_EQ(os.files.ReadText(cached), "MSCF");
  EXPECT_EQ(os.files.TimesOf(cached)->lastWrite, ParseListDate("24-12-2025 10:30:00"));
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\bin\\b.dll"));
  EXPECT_TRUE(TemporaryFiles().empty());
}

// Downloaded files carry the version the site delivers; everything else keeps its own.
struct VersionedDownloads : fakes::ForwardingFiles {
  using ForwardingFiles::ForwardingFiles;
  sys::FileVersion delivered{2, 0, 0, 0};
  sys::Result<sys::FileVersion> GetFileVersion(const std::string& path) override {
    if (sys::SplitAtLastBackslash(path).name.rfind("_sy", 0) == 0) return sys::Result<sys::FileVersion>::Ok(delivered);
    return inner_.GetFileVersion(path);
  }
};

TEST_F(FetchItemTest, AProtectedTargetOfTheSameOrANewerVersionIsKept) {
  VersionedDownloads files{os.files};
  sys::os().files = &files;
  struct PutBack {
    FakeOs& os;
    ~PutBack() {
      CloseLog();  // the log writes through the files it was opened with
      sys::os().files = &os.files;
    }
  } putBack{os};
  const std::string target = "C:\\Windows\\system32\\a.dll";
  FileEntry entry = Entry("a.dll", 5, "SystemFolder");
  Serve(entry, "12345");
  struct Case {
    std::optional<sys::FileVersion> installed;
    bool kept;
  } cases[] = {{sys::FileVersion{2, 0, 0, 0}, true},
               {sys::FileVersion{2, 1, 0, 0}, true},
               {sys::FileVersion{1, 9, 65535, 0}, false},
               {std::nullopt, false}};
  for (const Case& c : cases) {
    os.files.WriteText(target, "old");
    if (c.installed) os.files.SetFileVersion(target, *c.installed);
    EXPECT_TRUE(InstallItem(entry, kPassSingle));
    EXPECT_EQ(os.files.ReadText(target), c.kept ? "old" : "12345") << (c.installed ? (*c.installed)[1] : -1);
  }
  EXPECT_TRUE(entry.protectedTarget);
  EXPECT_EQ(Log().find("---> Ignored"), std::string::npos);
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(FetchItemTest, ACabinetThatDoesNotExpandIsAskedAboutAndRetryTransfersAgain) {
  FileEntry entry = Entry("a.dll", 10, "bin", 4);
  Serve(entry, "abcd");
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore});
  EXPECT_TRUE(InstallItem(entry, kPassSingle));
  EXPECT_EQ(Requests(ItemRequest(entry)), 2);
  ASSERT_EQ(os.desktop.boxes.size(), 2u);
  EXPECT_EQ(os.desktop.boxes[1].text.rfind("Failed to expand cabinet file: '", 0), 0u);
  EXPECT_FALSE(os.files.Exists(kTarget));
  EXPECT_TRUE(Logged("C:\\Fin\\bin\\a.dll ---> Ignored"));
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(FetchItemTest, OnAFatInstallationDriveACabinetThatDoesNotExpandIsPassedOverSilently) {
  Placement().installDirOnFat = true;
  FileEntry entry = Entry("a.dll", 10, "bin", 4);
  Serve(entry, "abcd");
  EXPECT_TRUE(InstallItem(entry, kPassSingle));
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_FALSE(os.files.Exists(kTarget));
  EXPECT_TRUE(Logged("C:\\Fin\\bin\\a.dll ---> OK"));
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(FetchItemTest, ACabinetWithoutItsExpansionFileIsNeverPlacedCompressed) {
  os.files.faults.FailNext(fakes::FileOp::CreateTempFile, sys::err::kAccessDenied, 1, "C:\\Fin\\bin\\");
  FileEntry entry = Entry("a.dll", 10, "bin", 4);
  Serve(entry, "MSCF");
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_TRUE(InstallItem(entry, kPassSingle));
  EXPECT_FALSE(os.files.Exists(kTarget));
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text.rfind("Failed to expand cabinet file: '", 0), 0u);
  EXPECT_TRUE(Logged("No temporary file for the expansion in C:\\Fin\\bin"));
}

TEST_F(FetchItemTest, ADataAccessSetUpRunsFromItsDownloadWhichIsThenDeleted) {
  FileEntry entry = Entry("mdac_typ.exe", 5);
  Serve(entry, "MZ123");
  EXPECT_TRUE(InstallItem(entry, kPassSingle));
  ASSERT_EQ(os.processes.started.size(), 1u);
  const std::string& command = os.processes.started[0].commandLine;
  const std::string program = command.substr(0, command.find(' '));
  EXPECT_EQ(command, program + " /Q:A /C:\"dasetup /Q /N\"");
  EXPECT_EQ(program.rfind("C:\\Temp\\_sy", 0), 0u);
  EXPECT_TRUE(os.processes.started[0].options.noConsoleWindow);
  EXPECT_TRUE(Logged(program + " ---> OK"));
  EXPECT_FALSE(os.files.Exists(program));
  EXPECT_NE(Placement().inUseList.find("MDAC\r\n"), std::string::npos);
  EXPECT_TRUE(Results().rebootNeeded);
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\bin\\mdac_typ.exe"));
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(FetchItemTest, ASetUpThatCannotStartStopsTheRunWithItsSource) {
  os.processes.faults.FailNext(fakes::ProcessOp::Create, sys::err::kFileNotFound);
  FileEntry entry = Entry("mdac_typ.exe", 5);
  Serve(entry, "MZ123");
  EXPECT_FALSE(InstallItem(entry, kPassSingle));
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text, "Unable to start setup: MDAC '" + std::string(kSite) +
                                          "/docs/LogItemAttachment.aspx?Item=CSFNC_mdac_typ.exe&Release=17.1&Action=2'."
                                          "\r\nError: 2");
  EXPECT_FALSE(Results().rebootNeeded);
}

TEST_F(FetchItemTest, TheDataAccessSetUpIsAnOrdinaryFileForANetworkInstallation) {
  Session().installMode = kInternetNetwork;
  FileEntry entry = Entry("mdac_typ.exe", 5);
  Serve(entry, "MZ123");
  EXPECT_TRUE(InstallItem(entry, kPassSingle));
  EXPECT_TRUE(os.processes.started.empty());
  EXPECT_EQ(os.files.ReadText("C:\\Fin\\bin\\mdac_typ.exe"), "MZ123");
}

}  // namespace
