// Whole update runs from the site (the summary, a No, a small disk, nothing to do, a
// refused list, the cache mode) and from a network installation (placement, a second list).
#include "filelist/downloadcache.h"
#include "item_fixture.h"
#include "updaterun/updaterun.h"

namespace {

class RunTest : public ItemTest {
 protected:
  RunTest() {
    Results().installClusterSize = Results().tempClusterSize = 4096;
    os.internet.Serve(TimestampUrl(kSite), "05-12-2026 19:30:00");
    ServeList(Record("CSFNC_a.dll", "a.dll", 3000) + Record("CSFNC_b.dll", "b.dll", 5000, "bin", 2500));
  }
  void ServeList(const std::string& list) { os.internet.Serve(FileListUrl(Session()), list); }
  bool NothingRequested() {
    return std::none_of(os.internet.openedUrls.begin(), os.internet.openedUrls.end(),
                        [](const std::string& url) { return url.find("Item=") != std::string::npos; });
  }
  void FromShare(const std::string& list) {
    Session().installMode = kLanWorkstation;
    Session().unattended = Session().silent = true;
    os.files.WriteText(std::string(kNetDir) + "\\HalomirPlandrix.lst", list);
  }
};

TEST_F(RunTest, TheSummaryNamesCountSizesAndANoReturnsToTheSettings) {
  SetProgressWindow(0x4711);
  os.desktop.QueueAnswers({sys::answer::kNo});
  EXPECT_FALSE(RunUpdate());
  SetProgressWindow(0);
  ASSERT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_EQ(Box(0), "Number of files to install: 2\r\nDownload Size: 5 KB\r\nRequired diskspace: 12 KB\r\n\r\n"
                    "Do you want to continue?");
  EXPECT_EQ(os.desktop.boxes[0].owner, 0x4711u);
  EXPECT_TRUE(Results().returnToSettings && !Results().runCompleted && NothingRequested());
  EXPECT_TRUE(Logged("Download Size: 5 KB") && Logged("Canceled by user, "));
  EXPECT_FALSE(Logged("Do you want to continue?") || os.files.Exists("C:\\Fin\\bin"));  // the plain box: no log
}

TEST_F(RunTest, TooLittleDiskSpaceReturnsToTheSettingsBeforeAnythingIsAsked) {
  ServeList(Record("CSFNC_A", "a.dll", 2000000));
  os.systemInfo.freeBytesByRoot["C:\\"] = 1000000;
  os.desktop.QueueAnswers({sys::answer::kNo});
  EXPECT_FALSE(RunUpdate());
  EXPECT_TRUE(Results().returnToSettings && NothingRequested());
  ASSERT_EQ(os.desktop.boxes.size(), 1u);  // the space question, no confirmation
  EXPECT_EQ(Box(0).find("Number of files to install"), std::string::npos) << Box(0);
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

TEST_F(RunTest, ARefusedListEndsTheRunAndOnlyAnAttendedRunReturnsToTheSettings) {
  ServeList("<HTML><BODY>Please log in</BODY></HTML>\r\n");
  EXPECT_FALSE(RunUpdate());
  EXPECT_EQ(Box(0), "Failed to download: 'HalomirPlandrix.lst'\r\n\r\n");
  EXPECT_TRUE(Results().returnToSettings);
  Results().returnToSettings = false;
  Session().silent = true;
  ServeList("__ERROR__Release 17.1 is withdrawn\r\n");
  EXPECT_FALSE(RunUpdate());
  EXPECT_TRUE(!Results().returnToSettings && Logged("Release 17.1 is withdrawn") && NothingRequested());
}

TEST_F(RunTest, TheCacheModeTransfersFirstThenCopiesFromTheCacheWithoutAskingAndRemovesIt) {
  Session().unattended = true;
  Session().updateMode = 1;
  const std::string cache = DownloadCacheFolder() + "\\bin\\";
  os.files.WriteText(cache + "b.dll", "cached");  // current: carries the list's date
  os.files.SetTimesOf(cache + "b.dll", {0, 0, ParseListDate(kDate)});
  ServeList(Record("CSFNC_a.dll", "a.dll", 3000) + Record("CSFNC_b.dll", "b.dll", 6));
  Serve(Entry("a.dll", 3000), std::string(3000, 'a'));
  static int32_t doneAtSecond = -1;  // what the window shows when the copying pass reaches b.dll
  SetProgressRefresher([] {
    if (Progress().phaseLine.str() == "Installing downloaded files" && Progress().itemLine.str() == "b.dll")
      doneAtSecond = Progress().totalDone;
  });
  EXPECT_TRUE(RunUpdate());
  SetProgressRefresher(nullptr);
  EXPECT_TRUE(os.desktop.boxes.empty() && Logged("Number of files to install: 2"));
  EXPECT_TRUE(os.files.ReadText("C:\\Fin\\bin\\a.dll") == std::string(3000, 'a'));
  EXPECT_TRUE(os.files.ReadText("C:\\Fin\\bin\\b.dll") == "cached" && !os.files.Exists(DownloadCacheFolder()));
  EXPECT_EQ(Progress().totalSize, 3000 + 6);
  EXPECT_EQ(doneAtSecond, 3000);
  EXPECT_TRUE(Results().runCompleted && !TemporaryFilesLeft());
}

TEST_F(RunTest, FromTheShareTheLinesOwnItemsArePlacedAndNothingOutsideTheInstallation) {
  std::string list = Record("CSFNS_OTHER", "other.txt", 5) + Record("CSFNC_X", "x.dll", 1, "..\\..\\Windows") +
                     Record("CSFNC_Y", "x.dll", 1, "C:\\Windows");
  Publish("bin", "other.txt", "other");
  Publish("bin", "x.dll", "x");
  for (int i = 0; i < 12; ++i) {
    std::string name = "f" + std::to_string(i) + ".txt";
    Publish("bin", name, "bytes of " + name);
    list += Record("CSFNC_" + std::to_string(i), name, static_cast<long>(("bytes of " + name).size()));
  }
  FromShare(list);
  EXPECT_TRUE(RunUpdate());
  EXPECT_TRUE(Results().runCompleted && !Results().nothingInstalled);
  EXPECT_EQ(os.files.ReadText("C:\\Fin\\bin\\f11.txt"), "bytes of f11.txt");
  EXPECT_EQ(os.files.TimesOf("C:\\Fin\\bin\\f3.txt")->lastWrite, ParseListDate(kDate));
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\bin\\other.txt"));  // another line's item
  for (const std::string& path : os.files.AllPaths())
    if (sys::EndsWithNoCase(path, "x.dll")) EXPECT_EQ(path.rfind("\\\\srv", 0), 0u) << path;
  EXPECT_TRUE(Logged("..\\..\\Windows") && Progress().copyPhase);  // a LAN installation counts copied bytes
}

TEST_F(RunTest, ASecondListBesideTheFirstIsInstalledOnceMore) {
  Publish("bin", "a.txt", "a");
  Publish("bin", "b.txt", "b");
  FromShare(Record("CSFNC_A", "a.txt", 1));
  os.files.WriteText(std::string(kNetDir) + "\\Tallyo.lst", Record("CSFNC_B", "b.txt", 1));
  EXPECT_TRUE(RunUpdate());
  EXPECT_TRUE(os.files.Exists("C:\\Fin\\bin\\a.txt") && os.files.Exists("C:\\Fin\\bin\\b.txt"));
  EXPECT_TRUE(UpdateRun().tallyoPass);
}

}  // namespace
