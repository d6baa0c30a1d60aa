// The analysis of a file list against the disk: selection, space and transfer costs,
// protected targets, the download cache and the re-registration list.
#include "filelist/downloadcache.h"
#include "filelist/fileversion.h"
#include "install/prerequisites.h"
#include "item_fixture.h"
#include "updaterun/reregistrationlist.h"
#include "updaterun/updaterun.h"

namespace {

constexpr int64_t kCluster = 4096;
constexpr uint64_t kSecond = 10'000'000;

class Analysis : public ItemTest {
 protected:
  Analysis() {
    Results().installClusterSize = Results().tempClusterSize = kCluster;
    UpdateRun().mode.workstation = UpdateRun().mode.keepRegistrationList = true;
  }
  std::optional<AnalysisTotals> Analyse(const std::string& list, uint32_t extraRecords = 0) {
    os.files.WriteText("C:\\Temp\\list.lst", list);
    sys::Result<sys::OwnedFile> file = os.files.OpenOwned("C:\\Temp\\list.lst", sys::FileAccess::Read,
                                                          sys::share::kRead, sys::Disposition::OpenExisting);
    return AnalyseFileList(file.value.get(), CountListRecords(list) + extraRecords);
  }
  FileEntry& At(std::size_t i) { return UpdateRun().entries.at(i); }
};

TEST_F(Analysis, RequiredSpaceCountsClustersAndFallsWhereALargerTargetIsReplaced) {
  os.files.WriteText("C:\\Fin\\bin\\big.dll", std::string(10000, 'b'));
  os.files.WriteText("C:\\Windows\\system32\\sys.dll", std::string(50000, 's'));
  std::optional<AnalysisTotals> totals = Analyse(Record("CSFNC_N", "new.dll", 100) + Record("CSFNC_B", "big.dll", 100) +
                                                 Record("CSFNC_S", "sys.dll", 9000, "SystemFolder"));
  ASSERT_TRUE(totals);
  // new: one cluster; big: one cluster instead of three; the protected system file: nothing.
  EXPECT_EQ(totals->requiredBytes, kCluster + (kCluster - 3 * kCluster));
  EXPECT_TRUE(!At(0).targetExisted && At(1).targetExisted && At(2).targetExisted && At(2).protectedTarget);
  EXPECT_EQ(totals->installCount, 3);  // selected whether or not they changed
}

TEST_F(Analysis, TheCacheModeTransfersOnlyItemsWithoutACurrentCacheCopy) {
  Session().updateMode = 1;
  const std::string cache = DownloadCacheFolder() + "\\bin\\";
  os.files.WriteText(cache + "current.dll", "c");
  os.files.SetTimesOf(cache + "current.dll", {0, 0, ParseListDate(kDate) + 2 * kSecond});  // the loose rule
  os.files.WriteText(cache + "stale.dll", "s");
  os.files.SetTimesOf(cache + "stale.dll", {0, 0, ParseListDate(kDate) + kSecond / 2});
  std::optional<AnalysisTotals> totals = Analyse(Record("CSFNC_C", "current.dll", 1000, "bin", 400) +
                                                 Record("CSFNC_S", "stale.dll", 1000, "bin", 300) +
                                                 Record("CSFNC_M", "missing.dll", 5000) + Record("CSFNC_X", "s.dll", 1, ".."));
  ASSERT_TRUE(totals);
  EXPECT_TRUE(At(0).selected && !At(0).downloadNeeded);
  EXPECT_TRUE(At(1).downloadNeeded && At(2).downloadNeeded);
  EXPECT_FALSE(CachedItemIsCurrent(At(3)));  // a folder that leads out of the cache
  EXPECT_EQ(totals->downloadBytes, 300 + 5000);  // the cabinet's size where there is one
  EXPECT_EQ(UpdateRun().downloadDriveBytes, kCluster + 2 * kCluster);
  os.files.faults.FailNext(fakes::FileOp::Open, sys::err::kSharingViolation);
  EXPECT_FALSE(CachedItemIsCurrent(At(0)));  // unreadable
}

TEST_F(Analysis, AProtectedTargetIsKeptWhenAtLeastAsNewAsTheNewFile) {
  os.files.WriteText("C:\\new\\a.dll", "new");
  os.files.WriteText("C:\\old\\a.dll", "old");
  os.files.SetFileVersion("C:\\new\\a.dll", {5, 1, 222, 0});
  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));  // installed file without a version
  const std::pair<sys::FileVersion, bool> cases[] = {{{5, 1, 221, 9}, false}, {{5, 1, 222, 0}, true}, {{6, 0, 0, 0}, true}};
  for (const auto& [installed, kept] : cases) {
    os.files.SetFileVersion("C:\\old\\a.dll", installed);
    EXPECT_EQ(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"), kept) << installed[0] << "." << installed[2];
  }
  EXPECT_TRUE(TargetNotOlder("C:\\new\\unversioned.dll", "C:\\old\\a.dll") &&
              !TargetNotOlder("C:\\new\\a.dll", "C:\\old\\missing.dll"));
  os.files.faults.FailNext(fakes::FileOp::GetFileVersion, sys::err::kAccessDenied, 1, "C:\\old\\a.dll");
  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));  // unreadable counts as none
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
  EXPECT_EQ(CountReregistrationRecords(UpdateRun().reregistrationList.get()).error, sys::err::kLockViolation);
  os.files.faults.FailNext(fakes::FileOp::Read, sys::err::kLockViolation);
  EXPECT_FALSE(Analyse(Record("CSFNC_R", "r.dll", 10)));
}

TEST_F(Analysis, ARepairSelectsNothingButCountsTheRegistrationsAndACancelEndsIt) {
  Session().repairOnly = true;
  std::optional<AnalysisTotals> totals = Analyse(Record("CSFNC_R", "r.dll", 10, "bin", 0, 2) + Record("CSFNC_P", "p.dll", 10));
  ASSERT_TRUE(totals);
  EXPECT_FALSE(At(0).selected || At(1).selected || totals->installCount || totals->requiredBytes);
  EXPECT_EQ(totals->registrationCount, 1);
  cancelRequested = 1;
  EXPECT_FALSE(Analyse(Record("CSFNC_A", "a.dll", 1)));
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
  // The printer driver only after its own item; the 64-bit mail client cannot load the add-in.
  const bool selected[] = {false, true, true, true, false, false, false, false};
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(At(i).selected, selected[i]) << At(i).fileName.str();
  EXPECT_TRUE(At(7).osSkipped);
  EXPECT_EQ(totals->installCount, 3);
  Prerequisites().reportRuntimeMissing = true;
  ASSERT_TRUE(Analyse(Record("CR", "MolvexCRWXI.msi", 1)));
  EXPECT_TRUE(At(0).selected);
}

}  // namespace
