// The analysis of a file list against the disk, and whole runs up to the summary's question.
#include "filelist/downloadcache.h"
#include "filelist/fileversion.h"
#include "install/prerequisites.h"
#include "productline/networklock.h"
#include "item_fixture.h"
#include "updaterun/reregistrationlist.h"
#include "updaterun/updaterun.h"

namespace {

constexpr int64_t kCluster = 4096;
constexpr uint64_t kSecond = 10'000'000;

class Analysis : public ItemTest {
 protected:
  Analysis() { UpdateRun().mode.workstation = UpdateRun().mode.keepRegistrationList = true; }
  std::optional<AnalysisTotals> Analyse(const std::string& list, uint32_t extraRecords = 0) {
    os.files.WriteText("C:\\Temp\\list.lst", list);
    sys::Result<sys::OwnedFile> file = os.files.OpenOwned("C:\\Temp\\list.lst", sys::FileAccess::Read,
                                                          sys::share::kRead, sys::Disposition::OpenExisting);
    return AnalyseFileList(file.value.get(), CountListRecords(list) + extraRecords);
  }
  FileEntry& At(std::size_t i) { return UpdateRun().entries.at(i); }
};

TEST_F(Analysis, RequiredSpaceCountsClustersAndFallsWhereALargerTargetIsReplacedOrAProtectedOneKept) {
  os.files.WriteText("C:\\Fin\\bin\\big.dll", std::string(10000, 'b'));
  os.files.WriteText("C:\\Windows\\system32\\sys.dll", std::string(50000, 's'));
  std::optional<AnalysisTotals> totals = Analyse(Record("CSFNC_N", "new.dll", 100) + Record("CSFNC_B", "big.dll", 100) +
                                                 Record("CSFNC_S", "sys.dll", 9000, "SystemFolder"));
  ASSERT_TRUE(totals);
  // new: one cluster; big: one cluster instead of three; the protected system file: nothing.
  EXPECT_EQ(totals->requiredBytes, kCluster + (kCluster - 3 * kCluster));
  EXPECT_EQ(totals->installCount, 3);  // selected whether or not they changed
  // A protected target is kept when at least as new as the new file.
  os.files.WriteText("C:\\new\\a.dll", "new");
  os.files.WriteText("C:\\old\\a.dll", "old");
  os.files.SetFileVersion("C:\\new\\a.dll", {5, 1, 222, 0});
  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));  // installed file without a version
  os.files.SetFileVersion("C:\\old\\a.dll", {5, 1, 222, 0});
  EXPECT_TRUE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));
  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\missing.dll"));  // a new one without: sys.dll above
  os.files.faults.FailNext(fakes::FileOp::GetFileVersion, sys::err::kAccessDenied, 1, "C:\\old\\a.dll");
  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));  // unreadable counts as none
}

TEST_F(Analysis, TheCacheModeTransfersOnlyItemsWithoutACurrentCacheCopy) {
  Session().updateMode = 1;
  const std::string cache = DownloadCacheFolder() + "\\bin\\";
  os.files.WriteText(cache + "c.dll", "c");
  os.files.SetTimesOf(cache + "c.dll", {0, 0, ParseListDate(kDate) + 2 * kSecond});  // the loose rule
  std::optional<AnalysisTotals> totals = Analyse(Record("CSFNC_C", "c.dll", 1000, "bin", 400) +
                                                 Record("CSFNC_M", "m.dll", 5000, "bin", 300) +
                                                 Record("CSFNC_P", "p.dll", 900) + Record("CSFNC_X", "s.dll", 1, ".."));
  ASSERT_TRUE(totals);
  EXPECT_TRUE(At(0).selected && !At(0).downloadNeeded && At(1).downloadNeeded);
  EXPECT_FALSE(CachedItemIsCurrent(At(3)));  // a folder that leads out of the cache
  EXPECT_EQ(totals->downloadBytes, 300 + 900);  // the cabinet's size where there is one
  EXPECT_EQ(UpdateRun().downloadDriveBytes, 2 * kCluster);  // what is transferred, in clusters
  os.files.faults.FailNext(fakes::FileOp::Open, sys::err::kSharingViolation);
  EXPECT_FALSE(CachedItemIsCurrent(At(0)));  // unreadable
}

TEST_F(Analysis, TheReregistrationListAddsRegistrationsAndMarksThePreviousRunUnfinished) {
  EXPECT_EQ(OpenReregistrationList().error, sys::err::kPathNotFound);  // not used without the etc folder
  os.files.MakeDirectories("C:\\Fin\\etc");
  UpdateRun().reregistrationList = std::move(OpenReregistrationList().value);  // created empty
  ASSERT_TRUE(Analyse(Record("CSFNC_P", "p.dll", 10)));
  EXPECT_FALSE(Results().previousRunUnfinished);

  std::string text = "x.dll\tbin\r\n";
  for (int i = 0; i < 300; ++i) text += "many" + std::to_string(i) + ".ocx\tSystemFolder\r\n";  // several blocks
  os.files.WriteText(ReregistrationListPath(), text + "unfinished.dll\tbin");
  EXPECT_EQ(CountReregistrationRecords(UpdateRun().reregistrationList.get()).value, 301u);
  std::optional<AnalysisTotals> totals = Analyse(Record("CSFNC_R", "r.dll", 10, "bin", 0, 1), 301);
  ASSERT_TRUE(totals);
  ASSERT_EQ(UpdateRun().entries.size(), 302u);
  EXPECT_EQ(At(300).fileName.str() + " " + At(300).folder.str() + " " + At(301).fileName.str(),
            "many299.ocx SystemFolder r.dll");
  EXPECT_TRUE(At(0).registrationKind == 1 && !At(0).selected);
  EXPECT_EQ(totals->registrationCount, 302);
  EXPECT_TRUE(Results().previousRunUnfinished);

  os.files.faults.FailNext(fakes::FileOp::Read, sys::err::kLockViolation);
  EXPECT_FALSE(Analyse(Record("CSFNC_R", "r.dll", 10)));
}

TEST_F(Analysis, SpecialItemsAreSelectedByWhatTheMachineNeedsARepairSelectsNothingAndACancelEndsIt) {
  Session().productLine = "QS2003";
  Results().outlook64Bit = true;
  Prerequisites().dataAccessNeedsInstall = true;
  std::optional<AnalysisTotals> totals =
      Analyse(Record("NOVAPIN", "novapin.exe_", 1, "Root") + Record("novapdf.exe", "pdf.dll", 1) +
              Record("NOVAPIN2", "novapin.exe_", 1, "Root") + Record("MDAC", "mdac_typ.exe", 1) +
              Record("CR", "MolvexCRWXI.msi", 1) + Record("T", "MolvexTactonSetup.cab", 1) +
              Record("XLA", "qs2000.xla", 1) + Record("OLD_9X", "old9x.dll", 1));
  ASSERT_TRUE(totals);
  // The printer driver only after its own item; the 64-bit mail client cannot load the add-in.
  const bool selected[] = {false, true, true, true, false, false, false, false};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(At(i).selected, selected[i]) << At(i).fileName.str();
  EXPECT_TRUE(At(7).osSkipped);
  EXPECT_EQ(totals->installCount, 3);
  Prerequisites().reportRuntimeMissing = true;
  ASSERT_TRUE(Analyse(Record("CR", "MolvexCRWXI.msi", 1)));
  EXPECT_TRUE(At(0).selected);
  // A repair selects nothing but counts the registrations.
  Session().productLine = "FNC";
  Session().repairOnly = true;
  totals = Analyse(Record("CSFNC_R", "r.dll", 10, "bin", 0, 2) + Record("CSFNC_P", "p.dll", 10));
  ASSERT_TRUE(totals);
  EXPECT_FALSE(At(0).selected || At(1).selected || totals->installCount || totals->requiredBytes);
  EXPECT_EQ(totals->registrationCount, 1);
  cancelRequested = 1;
  EXPECT_FALSE(Analyse(Record("CSFNC_A", "a.dll", 1)));
}

class RunTest : public ItemTest {
 protected:
  RunTest() {
    os.internet.Serve(TimestampUrl(kSite), "05-12-2026 19:30:00");
    ServeList(Record("CSFNC_a.dll", "a.dll", 3000) + Record("CSFNC_b.dll", "b.dll", 5000, "bin", 2500));
  }
  void ServeList(const std::string& list) { os.internet.Serve(FileListUrl(Session()), list); }
  bool NothingRequested() {
    return std::none_of(os.internet.openedUrls.begin(), os.internet.openedUrls.end(),
                        [](const std::string& url) { return url.find("Item=") != std::string::npos; });
  }
};

TEST_F(RunTest, TheSummaryNamesCountSizesAndANoReturnsToTheSettings) {
  SetProgressWindow(0x4711);
  os.desktop.QueueAnswers({sys::answer::kNo, sys::answer::kNo});
  EXPECT_FALSE(RunUpdate());
  SetProgressWindow(0);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(Box(0), "Number of files to install: 2\r\nDownload Size: 5 KB\r\nRequired diskspace: 12 KB\r\n\r\n"
                    "Do you want to continue?");
  EXPECT_EQ(os.desktop.boxes[0].owner, 0x4711u);
  EXPECT_TRUE(Results().returnToSettings && !Results().runCompleted && NothingRequested());
  EXPECT_TRUE(Logged("Download Size: 5 KB") && Logged("Canceled by user, "));
  EXPECT_FALSE(Logged("Do you want to continue?") || os.files.Exists("C:\\Fin\\bin"));  // the plain box: no log
  // Too little disk space is asked about before the summary.
  Results().returnToSettings = false;
  ServeList(Record("CSFNC_A", "a.dll", 2000000));
  os.systemInfo.freeBytesByRoot["C:\\"] = 1000000;
  EXPECT_FALSE(RunUpdate());
  EXPECT_TRUE(Results().returnToSettings && NothingRequested() && os.desktop.boxes.size() == 2);
  EXPECT_EQ(Box(1).find("Number of files to install"), std::string::npos) << Box(1);
}

TEST_F(RunTest, NothingToInstallIsSaidWithoutAskingAndOnlyAnEmptyListDropsTheStatistics) {
  for (const std::string& list : {Record("CSFNS_X", "x.dll", 10), std::string()}) {
    Session().debugStatistics = true;
    os.desktop.boxes.clear();
    ServeList(list);
    EXPECT_TRUE(RunUpdate());
    EXPECT_TRUE(os.desktop.boxes.size() == 1 && Box(0) == "There are no files to be installed.");
    EXPECT_TRUE(Results().nothingInstalled && Results().runCompleted);
    EXPECT_EQ(Session().debugStatistics, !list.empty());
  }
  EXPECT_TRUE(NothingRequested() && !Logged("Start installation"));
}

TEST_F(RunTest, ARefusedListIsNamedAndReturnsToTheSettings) {
  ServeList("<HTML><BODY>Please log in</BODY></HTML>\r\n");
  EXPECT_FALSE(RunUpdate());
  EXPECT_EQ(Box(0), "Failed to download: 'HalomirPlandrix.lst'\r\n\r\n");
  EXPECT_TRUE(Results().returnToSettings && NothingRequested());
}

TEST_F(RunTest, ASecondListBesideTheFirstIsInstalledOnceMore) {
  Publish("bin", "a.txt", "a");
  Publish("bin", "b.txt", "b");
  Session().installMode = kLanWorkstation;
  Session().unattended = Session().silent = true;
  os.files.WriteText(std::string(kNetDir) + "\\HalomirPlandrix.lst", Record("CSFNC_A", "a.txt", 1));
  os.files.WriteText(std::string(kNetDir) + "\\Tallyo.lst", Record("CSFNC_B", "b.txt", 1));
  EXPECT_TRUE(RunUpdate());
  EXPECT_TRUE(os.files.Exists("C:\\Fin\\bin\\a.txt") && os.files.Exists("C:\\Fin\\bin\\b.txt"));
}

// After a run stopped while it installed, the next removes its work files where it works,
// but not those the restart moves; a network "Reboot" may wait for another machine's.
TEST_F(RunTest, WorkFilesOfAStoppedRunGoExceptThoseTheRestartMoves) {
  const std::tuple<InstallMode, bool, const char*, bool> cases[] = {  // mode, machine key set, "wsetup.ini", swept
      {kInternetWorkstation, true, "", true},    {kInternetWorkstation, false, "Updating", false},
      {kInternetNetwork, false, "Updating", true}, {kInternetNetworkUpdate, false, "Updating", true},
      {kInternetNetwork, false, "Reboot", false},  {kInternetNetwork, false, "", false}};
  const std::string files[] = {"C:\\Temp\\_sy1.tmp", "C:\\Fin\\bin\\_sy2.tmp", "C:\\Fin\\bin\\_sy3.tmp", "C:\\Fin\\bin\\_sy4.tmp"};
  os.registry.PutValue(sys::Hive::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\Session Manager",
                       "PendingFileRenameOperations", {sys::ValueType::MultiString, "\\??\\C:\\FIN\\BIN\\_SY3.TMP"});
  sys::os().profiles->WriteString("C:\\Windows\\WININIT.INI", "rename", std::string("C:\\Fin\\bin\\a.dll"), files[3]);
  ServeList(Record("CSFNC_a.dll", "a.dll", 4));
  Serve(Entry("a.dll", 4), "abcd");
  Session().unattended = Session().silent = true;
  for (const auto& [mode, unfinished, marker, swept] : cases) {
    for (const std::string& file : files) os.files.WriteText(file, "part");
    Session().installMode = mode;
    Results().previousRunUnfinished = unfinished;
    sys::os().profiles->WriteString("C:\\Fin\\wsetup.ini", "Setup", std::string("MolvexInstallStatus"), std::string(marker));
    EXPECT_TRUE(RunUpdate());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(os.files.Exists(files[i]), i > 1 || !swept) << mode << marker << files[i];
    // A network run locks its installation once the folder is there (a new one made).
    sys::OwnedFile probe(os.files, os.files.CreateLockFile("C:\\Fin\\Plandrix.lck").value);
    EXPECT_EQ(!probe, IsNetworkMode(mode));
    probe.Close();
    UnlockNetworkInstallation();
  }
}

}  // namespace
