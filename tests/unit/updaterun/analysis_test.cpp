// The analysis of a file list against the disk (what is selected, what it costs in
// space and transfer), and what an internet run makes of it: the summary the user
// confirms, a No, a disk that is too small, nothing to do, and the cache mode's two passes.
#include "item_fixture.h"
#include "platform/diskspace.h"
#include "filelist/downloadcache.h"
#include "filelist/filelist.h"
#include "filelist/listdate.h"
#include "updaterun/reregistrationlist.h"
#include "updaterun/updaterun.h"

namespace {

constexpr int64_t kCluster = 4096;

// One list record: code, release, name, size, date, folder, registration kind, and the
// cabinet size in field 11.
std::string Record(const std::string& code, const std::string& name, long size, const std::string& folder = "bin",
                   long cabSize = 0, int kind = 0, const std::string& date = "24-12-2025 10:30:00") {
  return code + "\t17.1\t" + name + "\t" + std::to_string(size) + "\t" + date + "\t" + folder + "\t" +
         std::to_string(kind) + "\t\t\t\t\t" + std::to_string(cabSize) + "\r\n";
}

class Analysis : public ItemTest {
 protected:
  Analysis() {
    Results().installClusterSize = kCluster;
    Results().tempClusterSize = kCluster;
    UpdateRun().mode.workstation = true;
    UpdateRun().mode.keepRegistrationList = true;
  }

  // Analyses `list` (after the re-registration list when one is open) into `totals`.
  bool Analyse(const std::string& list, AnalysisTotals& totals, uint32_t extraRecords = 0) {
    os.files.WriteText("C:\\Temp\\list.lst", list);
    sys::Result<sys::FileHandle> file =
        os.files.Open("C:\\Temp\\list.lst", sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
    EXPECT_TRUE(file.ok());
    uint32_t records = CountListRecords(list) + extraRecords;
    bool done = AnalyseFileList(file.value, records, totals);
    os.files.Close(file.value);
    return done;
  }
  FileEntry& At(std::size_t i) { return UpdateRun().entries.at(i); }
};

TEST_F(Analysis, TheFncLineInstallsOnlyItsOwnItems) {
  AnalysisTotals totals;
  ASSERT_TRUE(Analyse(Record("CSFNC_A", "a.dll", 100) + Record("CSFNS_B", "b.dll", 200, "bin", 50, 1), totals));
  EXPECT_TRUE(At(0).selected);
  EXPECT_FALSE(At(1).selected);
  EXPECT_FALSE(At(1).downloadNeeded);
  EXPECT_EQ(totals.installCount, 1);
  EXPECT_EQ(totals.downloadBytes, 100);
  EXPECT_EQ(totals.installedBytes, 100);
  EXPECT_EQ(totals.registrationCount, 0);
}

TEST_F(Analysis, RequiredSpaceCountsClustersAndFallsWhereALargerTargetIsReplaced) {
  os.files.WriteText("C:\\Fin\\bin\\big.dll", std::string(10000, 'b'));
  os.files.WriteText("C:\\Windows\\system32\\sys.dll", std::string(50000, 's'));
  AnalysisTotals totals;
  ASSERT_TRUE(Analyse(Record("CSFNC_N", "new.dll", 100) + Record("CSFNC_B", "big.dll", 100) +
                          Record("CSFNC_S", "sys.dll", 9000, "SystemFolder"),
                      totals));
  // new: one cluster; big: one cluster instead of three; the protected system file: nothing.
  EXPECT_EQ(totals.requiredBytes, kCluster + (kCluster - 3 * kCluster));
  EXPECT_FALSE(At(0).targetExisted);
  EXPECT_TRUE(At(1).targetExisted);
  EXPECT_TRUE(At(2).targetExisted && At(2).protectedTarget);
  EXPECT_EQ(totals.installCount, 3);  // selected whether or not they changed
  EXPECT_EQ(totals.installedBytes, 100 + 100 + 9000);
}

TEST_F(Analysis, TheCacheModeTransfersOnlyItemsWithoutACurrentCacheCopy) {
  Session().updateMode = 1;
  const std::string cache = DownloadCacheFolder() + "\\bin\\";
  os.files.WriteText(cache + "current.dll", "c");
  os.files.SetTimesOf(cache + "current.dll", {0, 0, ParseListDate("24-12-2025 10:30:00")});
  os.files.WriteText(cache + "stale.dll", "s");
  os.files.SetTimesOf(cache + "stale.dll", {0, 0, ParseListDate("01-12-2025 10:30:00")});
  AnalysisTotals totals;
  ASSERT_TRUE(Analyse(Record("CSFNC_C", "current.dll", 1000, "bin", 400) + Record("CSFNC_S", "stale.dll", 1000, "bin", 300) +
                          Record("CSFNC_M", "missing.dll", 5000),
                      totals));
  EXPECT_FALSE(At(0).downloadNeeded);
  EXPECT_TRUE(At(0).selected);
  EXPECT_TRUE(At(1).downloadNeeded && At(2).downloadNeeded);
  EXPECT_EQ(totals.downloadBytes, 300 + 5000);  // the cabinet's size where there is one
  EXPECT_EQ(UpdateRun().downloadDriveBytes, kCluster + 2 * kCluster);
  EXPECT_EQ(totals.installedBytes, 1000 + 1000 + 5000);
}

TEST_F(Analysis, TheReregistrationListAddsRegistrationsAndMarksThePreviousRunUnfinished) {
  os.files.MakeDirectories("C:\\Fin\\etc");
  os.files.WriteText(ReregistrationListPath(), "x.dll\tbin\r\ny.ocx\tSystemFolder\r\n");
  sys::Result<sys::FileHandle> list = OpenReregistrationList();
  ASSERT_TRUE(list.ok());
  UpdateRun().reregistrationList = list.value;
  AnalysisTotals totals;
  ASSERT_TRUE(Analyse(Record("CSFNC_R", "r.dll", 10, "bin", 0, 1) + Record("CSFNC_P", "p.dll", 10), totals, 2));
  ASSERT_EQ(UpdateRun().entries.size(), 4u);
  EXPECT_EQ(At(0).fileName, "x.dll");
  EXPECT_EQ(At(1).folder, "SystemFolder");
  EXPECT_EQ(At(1).registrationKind, 1);
  EXPECT_FALSE(At(0).selected || At(1).selected);
  EXPECT_EQ(At(2).fileName, "r.dll");
  EXPECT_EQ(totals.registrationCount, 3);
  EXPECT_EQ(totals.installCount, 2);
  EXPECT_TRUE(Results().previousRunUnfinished);
}

TEST_F(Analysis, AnEmptyReregistrationListLeavesThePreviousRunFinished) {
  os.files.MakeDirectories("C:\\Fin\\etc");
  sys::Result<sys::FileHandle> list = OpenReregistrationList();
  ASSERT_TRUE(list.ok());
  UpdateRun().reregistrationList = list.value;
  AnalysisTotals totals;
  ASSERT_TRUE(Analyse(Record("CSFNC_P", "p.dll", 10), totals));
  EXPECT_FALSE(Results().previousRunUnfinished);
  EXPECT_EQ(totals.installCount, 1);
}

TEST_F(Analysis, ARepairSelectsNothingButCountsTheRegistrations) {
  Session().repairOnly = true;
  AnalysisTotals totals;
  ASSERT_TRUE(Analyse(Record("CSFNC_R", "r.dll", 10, "bin", 0, 2) + Record("CSFNC_P", "p.dll", 10), totals));
  EXPECT_FALSE(At(0).selected || At(1).selected);
  EXPECT_EQ(totals.installCount, 0);
  EXPECT_EQ(totals.registrationCount, 1);
  EXPECT_EQ(totals.requiredBytes, 0);
}

TEST_F(Analysis, SpecialItemsAreSelectedByWhatTheMachineNeeds) {
  Session().productLine = "QS2003";
  Results().outlook64Bit = true;
  Steps().dataAccessNeedsInstall = [] { return true; };
  Steps().reportRuntimeMissing = [] { return false; };
  AnalysisTotals totals;
  ASSERT_TRUE(Analyse(Record("NOVAPIN", "novapin.exe_", 1, "Root") + Record("novapdf.exe", "pdf.dll", 1) +
                          Record("NOVAPIN2", "novapin.exe_", 1, "Root") + Record("MDAC", "mdac_typ.exe", 1) +
                          Record("CR", "MolvexCRWXI.msi", 1) + Record("T", "MolvexTactonSetup.cab", 1) +
                          Record("XLA", "qs2000.xla", 1) + Record("OLD_9X", "old9x.dll", 1),
                      totals));
  EXPECT_FALSE(At(0).selected);  // no printer driver is installed yet at this point
  EXPECT_TRUE(At(1).selected);
  EXPECT_TRUE(At(2).selected);   // after the driver's own item
  EXPECT_TRUE(At(3).selected);
  EXPECT_FALSE(At(4).selected);
  EXPECT_FALSE(At(5).selected);
  EXPECT_FALSE(At(6).selected);  // the 64-bit mail client cannot load it
  EXPECT_TRUE(At(7).osSkipped);
  EXPECT_FALSE(At(7).selected);
  EXPECT_EQ(totals.installCount, 3);
}

TEST_F(Analysis, ACancelEndsTheAnalysis) {
  cancelRequested = 1;
  AnalysisTotals totals;
  EXPECT_FALSE(Analyse(Record("CSFNC_A", "a.dll", 1), totals));
}

// A whole internet run up to the confirmation: the site serves the list, the run asks.
class ConfirmedRun : public ItemTest {
 protected:
  ConfirmedRun() {
    Results().installClusterSize = kCluster;
    Results().tempClusterSize = kCluster;
    os.internet.Serve(TimestampUrl(kSite), "05-12-2026 19:30:00");
    os.internet.Serve(FileListUrl(Session()),
                      Record("CSFNC_A", "a.dll", 3000) + Record("CSFNC_B", "b.dll", 5000, "bin", 2500));
  }
  bool NothingRequested() {
    for (const std::string& url : os.internet.openedUrls)
      if (url.find("Item=") != std::string::npos) return false;
    return true;
  }
};

TEST_F(ConfirmedRun, TheSummaryNamesCountSizesAndANoReturnsToTheSettings) {
  SetProgressWindow(0x4711);
  os.desktop.QueueAnswers({sys::answer::kNo});
  EXPECT_FALSE(RunUpdate());
  SetProgressWindow(0);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  const fakes::ShownBox& box = os.desktop.boxes[0];
  EXPECT_EQ(box.text,
            "Number of files to install: 2\r\nDownload Size: 5 KB\r\nRequired diskspace: 12 KB\r\n\r\n"
            "Do you want to continue?");
  EXPECT_EQ(box.owner, 0x4711u);
  EXPECT_EQ(box.caption, "Fennic Duziderav");
  EXPECT_EQ(box.type & 0xF, static_cast<uint32_t>(mb::kYesNo));
  EXPECT_TRUE(Results().returnToSettings);
  EXPECT_FALSE(Results().runCompleted);
  EXPECT_TRUE(Logged("Number of files to install: 2"));
  EXPECT_TRUE(Logged("Download Size: 5 KB"));
  EXPECT_TRUE(Logged("Canceled by user, "));
  EXPECT_FALSE(Logged("Do you want to continue?"));  // the plain box is not logged
  EXPECT_TRUE(NothingRequested());
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\bin"));
}

TEST_F(ConfirmedRun, AnUnattendedRunLogsTheSummaryAndInstallsWithoutAsking) {
  Session().unattended = true;
  FileEntry a = Entry("a.dll", 3000);
  a.itemCode = "CSFNC_A";
  FileEntry b = Entry("b.dll", 5000, "bin", 2500);
  b.itemCode = "CSFNC_B";
  Serve(a, std::string(3000, 'a'));
  Serve(b, std::string(2500, 'b'));
  Session().silent = true;  // the cabinet above does not expand: its question is skipped
  EXPECT_TRUE(RunUpdate());
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_TRUE(Logged("Number of files to install: 2"));
  EXPECT_TRUE(Logged("Download Size: 5 KB"));
  EXPECT_TRUE(os.files.ReadText("C:\\Fin\\bin\\a.dll") == std::string(3000, 'a')) << Log();
  EXPECT_TRUE(Logged("Failed to expand cabinet file"));
  EXPECT_TRUE(Logged("C:\\Fin\\bin\\b.dll ---> Ignored"));
  EXPECT_TRUE(Results().runCompleted);
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(ConfirmedRun, TooLittleDiskSpaceReturnsToTheSettingsBeforeAnythingIsAsked) {
  os.internet.Serve(FileListUrl(Session()), Record("CSFNC_A", "a.dll", 2000000));
  os.systemInfo.freeBytesByRoot["C:\\"] = 1000000;
  os.desktop.QueueAnswers({sys::answer::kNo});
  EXPECT_FALSE(RunUpdate());
  EXPECT_TRUE(Results().returnToSettings);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);  // the space question, no confirmation
  EXPECT_EQ(os.desktop.boxes[0].text.find("Number of files to install"), std::string::npos) << os.desktop.boxes[0].text;
  EXPECT_TRUE(NothingRequested());
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\bin"));
}

TEST_F(ConfirmedRun, AListWithNothingForThisLineSaysSoWithoutAsking) {
  Session().debugStatistics = true;
  os.internet.Serve(FileListUrl(Session()), Record("CSFNS_X", "x.dll", 10));
  EXPECT_TRUE(RunUpdate());
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text, "There are no files to be installed.");
  EXPECT_TRUE(Results().nothingInstalled && Results().runCompleted);
  EXPECT_TRUE(Session().debugStatistics);  // only an empty list has nothing to measure
  EXPECT_TRUE(NothingRequested());

  os.desktop.boxes.clear();
  os.internet.Serve(FileListUrl(Session()), "");
  EXPECT_TRUE(RunUpdate());
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text, "There are no files to be installed.");
  EXPECT_FALSE(Session().debugStatistics);
}

TEST_F(ConfirmedRun, TheCacheModeTransfersFirstThenCopiesFromTheCacheAndRemovesIt) {
  Session().unattended = true;
  Session().updateMode = 1;
  const std::string cache = DownloadCacheFolder() + "\\bin\\";
  os.files.WriteText(cache + "b.dll", "cached");  // current: carries the list's date
  os.files.SetTimesOf(cache + "b.dll", {0, 0, ParseListDate("24-12-2025 10:30:00")});
  os.internet.Serve(FileListUrl(Session()), Record("CSFNC_A", "a.dll", 3000) + Record("CSFNC_B", "b.dll", 6));
  FileEntry a = Entry("a.dll", 3000);
  a.itemCode = "CSFNC_A";
  Serve(a, std::string(3000, 'a'));
  // What the window shows when the copying pass comes to the second item.
  static int32_t doneAtSecond = -1;
  doneAtSecond = -1;
  SetProgressRefresher([] {
    if (Progress().phaseLine.str() == "Installing downloaded files" && Progress().itemLine.str() == "b.dll")
      doneAtSecond = Progress().totalDone;
  });
  EXPECT_TRUE(RunUpdate());
  SetProgressRefresher(nullptr);

  EXPECT_TRUE(os.files.ReadText("C:\\Fin\\bin\\a.dll") == std::string(3000, 'a'));
  EXPECT_EQ(os.files.ReadText("C:\\Fin\\bin\\b.dll"), "cached");
  EXPECT_FALSE(os.files.Exists(DownloadCacheFolder()));
  EXPECT_EQ(Requests(ItemRequest(a)), 1);
  EXPECT_TRUE(Progress().copyPhase);
  EXPECT_EQ(Progress().totalSize, 3000 + 6);
  EXPECT_EQ(doneAtSecond, 3000);
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(ConfirmedRun, AnHtmlPageForAListIsRefusedAndOnlyAnAttendedRunReturnsToTheSettings) {
  os.internet.Serve(FileListUrl(Session()), "<HTML><BODY>Please log in</BODY></HTML>\r\n");
  EXPECT_FALSE(RunUpdate());
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(os.desktop.boxes[0].text, "Failed to download: 'HalomirPlandrix.lst'\r\n\r\n");
  EXPECT_TRUE(Results().returnToSettings);

  Results().returnToSettings = false;
  Session().silent = true;
  os.internet.Serve(FileListUrl(Session()), "__ERROR__Release 17.1 is withdrawn\r\n");
  EXPECT_FALSE(RunUpdate());
  EXPECT_FALSE(Results().returnToSettings);
  EXPECT_TRUE(Logged("Release 17.1 is withdrawn"));
  EXPECT_TRUE(NothingRequested());
}

}  // namespace
