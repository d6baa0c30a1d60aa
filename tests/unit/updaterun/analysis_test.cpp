// The analysis of a file list against the disk: what is selected, what it costs in space
// and transfer, the re-registration list before it, and its progress count.
#include "filelist/downloadcache.h"
#include "filelist/filelist.h"
#include "filelist/listdate.h"
#include "install/prerequisites.h"
#include "item_fixture.h"
#include "updaterun/reregistrationlist.h"
#include "updaterun/updaterun.h"

namespace {

constexpr int64_t kCluster = 4096;

class Analysis : public ItemTest {
 protected:
  Analysis() {
    Results().installClusterSize = kCluster;
    Results().tempClusterSize = kCluster;
    UpdateRun().mode.workstation = true;
    UpdateRun().mode.keepRegistrationList = true;
  }
  // Analyses `list` (after the re-registration list when one is open).
  std::optional<AnalysisTotals> Analyse(const std::string& list, uint32_t extraRecords = 0) {
    os.files.WriteText("C:\\Temp\\list.lst", list);
    sys::Result<sys::OwnedFile> file = os.files.OpenOwned("C:\\Temp\\list.lst", sys::FileAccess::Read,
                                                          sys::share::kRead, sys::Disposition::OpenExisting);
    EXPECT_TRUE(file.ok());
    return AnalyseFileList(file.value.get(), CountListRecords(list) + extraRecords);
  }
  FileEntry& At(std::size_t i) { return UpdateRun().entries.at(i); }
};

TEST_F(Analysis, TheFncLineInstallsOnlyItsOwnItems) {
  std::optional<AnalysisTotals> totals =
      Analyse(Record("CSFNC_A", "a.dll", 100) + Record("CSFNS_B", "b.dll", 200, "bin", 50, 1));
  ASSERT_TRUE(totals);
  EXPECT_TRUE(At(0).selected);
  EXPECT_FALSE(At(1).selected || At(1).downloadNeeded);
  EXPECT_EQ(totals->installCount, 1);
  EXPECT_EQ(totals->downloadBytes, 100);
  EXPECT_EQ(totals->installedBytes, 100);
  EXPECT_EQ(totals->registrationCount, 0);
}

TEST_F(Analysis, RequiredSpaceCountsClustersAndFallsWhereALargerTargetIsReplaced) {
  os.files.WriteText("C:\\Fin\\bin\\big.dll", std::string(10000, 'b'));
  os.files.WriteText("C:\\Windows\\system32\\sys.dll", std::string(50000, 's'));
  std::optional<AnalysisTotals> totals = Analyse(Record("CSFNC_N", "new.dll", 100) + Record("CSFNC_B", "big.dll", 100) +
                                                 Record("CSFNC_S", "sys.dll", 9000, "SystemFolder"));
  ASSERT_TRUE(totals);
  // new: one cluster; big: one cluster instead of three; the protected system file: nothing.
  EXPECT_EQ(totals->requiredBytes, kCluster + (kCluster - 3 * kCluster));
  EXPECT_FALSE(At(0).targetExisted);
  EXPECT_TRUE(At(1).targetExisted);
  EXPECT_TRUE(At(2).targetExisted && At(2).protectedTarget);
  EXPECT_EQ(totals->installCount, 3);  // selected whether or not they changed
}

TEST_F(Analysis, TheCacheModeTransfersOnlyItemsWithoutACurrentCacheCopy) {
  Session().updateMode = 1;
  const std::string cache = DownloadCacheFolder() + "\\bin\\";
  os.files.WriteText(cache + "current.dll", "c");
  os.files.SetTimesOf(cache + "current.dll", {0, 0, ParseListDate(kDate)});
  os.files.WriteText(cache + "stale.dll", "s");
  os.files.SetTimesOf(cache + "stale.dll", {0, 0, ParseListDate("01-12-2025 10:30:00")});
  std::optional<AnalysisTotals> totals = Analyse(Record("CSFNC_C", "current.dll", 1000, "bin", 400) +
                                                 Record("CSFNC_S", "stale.dll", 1000, "bin", 300) +
                                                 Record("CSFNC_M", "missing.dll", 5000));
  ASSERT_TRUE(totals);
  EXPECT_TRUE(At(0).selected && !At(0).downloadNeeded);
  EXPECT_TRUE(At(1).downloadNeeded && At(2).downloadNeeded);
  EXPECT_EQ(totals->downloadBytes, 300 + 5000);  // the cabinet's size where there is one
  EXPECT_EQ(UpdateRun().downloadDriveBytes, kCluster + 2 * kCluster);
  EXPECT_EQ(totals->installedBytes, 1000 + 1000 + 5000);
}

TEST_F(Analysis, TheReregistrationListAddsRegistrationsAndMarksThePreviousRunUnfinished) {
  os.files.MakeDirectories("C:\\Fin\\etc");
  UpdateRun().reregistrationList = std::move(OpenReregistrationList().value);
  ASSERT_TRUE(Analyse(Record("CSFNC_P", "p.dll", 10)));
  EXPECT_FALSE(Results().previousRunUnfinished);  // an empty list

  os.files.WriteText(ReregistrationListPath(), "x.dll\tbin\r\ny.ocx\tSystemFolder\r\n");
  std::optional<AnalysisTotals> totals =
      Analyse(Record("CSFNC_R", "r.dll", 10, "bin", 0, 1) + Record("CSFNC_P", "p.dll", 10), 2);
  ASSERT_TRUE(totals);
  ASSERT_EQ(UpdateRun().entries.size(), 4u);
  EXPECT_EQ(At(0).fileName, "x.dll");
  EXPECT_EQ(At(1).folder, "SystemFolder");
  EXPECT_EQ(At(1).registrationKind, 1);
  EXPECT_FALSE(At(0).selected || At(1).selected);
  EXPECT_EQ(At(2).fileName, "r.dll");
  EXPECT_EQ(totals->registrationCount, 3);
  EXPECT_EQ(totals->installCount, 2);
  EXPECT_TRUE(Results().previousRunUnfinished);
}

TEST_F(Analysis, ARepairSelectsNothingButCountsTheRegistrations) {
  Session().repairOnly = true;
  std::optional<AnalysisTotals> totals = Analyse(Record("CSFNC_R", "r.dll", 10, "bin", 0, 2) + Record("CSFNC_P", "p.dll", 10));
  ASSERT_TRUE(totals);
  EXPECT_FALSE(At(0).selected || At(1).selected);
  EXPECT_EQ(totals->installCount, 0);
  EXPECT_EQ(totals->registrationCount, 1);
  EXPECT_EQ(totals->requiredBytes, 0);
}

TEST_F(Analysis, SpecialItemsAreSelectedByWhatTheMachineNeeds) {
  Session().productLine = "QS2003";
  Results().outlook64Bit = true;
  Prerequisites().dataAccessNeedsInstall = true;
  std::optional<AnalysisTotals> totals =
      Analyse(Record("NOVAPIN", "novapin.exe_", 1, "Root") + Record("novapdf.exe", "pdf.dll", 1) +
              Record("NOVAPIN2", "novapin.exe_", 1, "Root") + Record("MDAC", "mdac_typ.exe", 1) +
              Record("CR", "MolvexCRWXI.msi", 1) + Record("T", "MolvexTactonSetup.cab", 1) +
              Record("XLA", "qs2000.xla", 1) + Record("OLD_9X", "old9x.dll", 1));
  ASSERT_TRUE(totals);
  // The printer driver only after its own item; the report runtime is present; the
  // 64-bit mail client cannot load the add-in; the other family's variant is skipped.
  const bool selected[] = {false, true, true, true, false, false, false, false};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(At(i).selected, selected[i]) << At(i).fileName.str();
  EXPECT_TRUE(At(7).osSkipped);
  EXPECT_EQ(totals->installCount, 3);

  Prerequisites().reportRuntimeMissing = true;
  ASSERT_TRUE(Analyse(Record("CR", "MolvexCRWXI.msi", 1)));
  EXPECT_TRUE(At(0).selected);
}

TEST_F(Analysis, ACancelEndsTheAnalysis) {
  cancelRequested = 1;
  EXPECT_FALSE(Analyse(Record("CSFNC_A", "a.dll", 1)));
}

TEST_F(Analysis, ProgressCountsInStepsOfTen) {
  static std::vector<std::string> shown;
  shown.clear();
  SetProgressRefresher([] { shown.push_back(Progress().itemLine.str()); });
  std::string list;
  for (int i = 0; i < 23; ++i) list += Record("CSFNC_" + std::to_string(i), "n" + std::to_string(i), 0, "DoNotParse");
  EXPECT_TRUE(Analyse(list));
  SetProgressRefresher(nullptr);
  const std::string of23 = " " + LoadText(147) + " 23";
  EXPECT_EQ(shown, (std::vector<std::string>{LoadText(156) + " 10" + of23, LoadText(156) + " 20" + of23,
                                             LoadText(156) + " 23" + of23}));
}

}  // namespace
