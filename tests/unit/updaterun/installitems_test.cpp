// Installing items: the questions about transfers and cabinets, run-only set-ups, the loop.
#include "install/placementstate.h"
#include "item_fixture.h"
#include "updaterun/installentries.h"
#include "updaterun/reregistrationlist.h"
#include "updaterun/transferahead.h"

namespace {

constexpr const char* kTarget = "C:\\Fin\\bin\\a.dll";

class FetchItemTest : public ItemTest {
 protected:
  void TearDown() override {  // nothing left behind: no temporary file, no open handle
    EXPECT_FALSE(TemporaryFilesLeft());
    CloseLog();
    EXPECT_EQ(os.files.OpenHandleCount(), 0);
  }
};

TEST_F(FetchItemTest, TheSitesCorrectedSizesCanMakeACabinetAndASiteThatKeepsSendingThemIsAskedAbout) {
  FileEntry entry = Entry("a.dll", 5), cabinet = Entry("b.dll", 100);
  // These 1024 bytes pass as the corrected cabinet size, but do not expand.
  ServeOnce(ItemRequest(cabinet), "_ItemAttachmentSizes_\r\n2048\t1024");
  os.internet.Serve(ItemRequest(cabinet, 2048, 1024), std::string(1024, 'c'));
  os.desktop.QueueAnswers({sys::answer::kIgnore});
  EXPECT_TRUE(InstallItem(cabinet, kPassSingle));
  EXPECT_EQ(Box(0).rfind("Failed to expand cabinet file: 'C:\\Temp\\_sy", 0), 0u) << Box(0);
  // A site that keeps sending sizes is asked about after five more requests.
  Serve(entry, "_ItemAttachmentSizes_\r\n5\t0");
  SetProgressWindow(0x4711);
  os.desktop.QueueAnswers({sys::answer::kAbort});
  EXPECT_FALSE(InstallItem(entry, kPassSingle));
  SetProgressWindow(0);
  EXPECT_EQ(Requests(ItemRequest(entry)), 6);
  EXPECT_EQ(Box(1), "Failed to download: " + ItemRequest(entry) + " (Incorrect number of bytes).");
  EXPECT_TRUE(os.desktop.boxes[1].owner == 0x4711u && Logged("C:\\Fin\\bin\\a.dll ---> Aborted"));
}

TEST_F(FetchItemTest, AShortOrRefusedTransferIsAskedAboutAndRetryTransfersAgain) {
  os.files.WriteText(kTarget, "old");
  FileEntry shortOne = Entry("a.dll", 5), refused = Entry("b.dll", 5);
  ServeOnce(ItemRequest(shortOne), "123");
  Serve(refused, "__ERROR__Item CSFNC_b.dll is not released");
  os.desktop.QueueAnswers({sys::answer::kIgnore, sys::answer::kIgnore, sys::answer::kRetry});
  EXPECT_TRUE(InstallItem(shortOne, kPassSingle) && InstallItem(refused, kPassSingle));
  EXPECT_EQ(Box(0), "Failed to download: " + ItemRequest(shortOne) + " (Incorrect number of bytes).");
  EXPECT_EQ(Box(1), "Failed to download: " + ItemRequest(refused) + " \r\nItem CSFNC_b.dll is not released.");
  EXPECT_TRUE(os.files.ReadText(kTarget) == "old" && !os.files.Exists("C:\\Fin\\bin\\b.dll"));
  EXPECT_TRUE(Logged("C:\\Fin\\bin\\b.dll ---> Ignored") && Results().copyIncomplete);
  // Retry forgets the cached reply and the short file before it transfers again.
  ServeOnce(ItemRequest(shortOne), "12");
  ServeOnce(ItemRequest(shortOne), "12345");
  os.internet.deletedCacheEntries.clear();
  EXPECT_TRUE(InstallItem(shortOne, kPassSingle) && os.files.ReadText(kTarget) == "12345");
  EXPECT_EQ(os.internet.deletedCacheEntries.size(), 2u);  // before the second request, after the placement
}

TEST_F(FetchItemTest, AnItemUnlikeItsDigestIsAskedAboutBeforeExpansionAndASilentRunStops) {
  FileEntry entry = Entry("a.dll", 5), cabinet = Entry("c.dll", 5, "bin", 4);
  entry.digest = cabinet.digest = "5994471ABB01112AFCC18159F6CC74B4F511B99806DA59B3CAF5A9C173CACFC5";  // of 12345
  ServeOnce(ItemRequest(entry), "12346");  // altered, of the right size; then the published bytes
  ServeOnce(ItemRequest(entry), "12345");
  Serve(cabinet, "MSCF");  // never reaches the expansion
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore});
  EXPECT_TRUE(InstallItem(entry, kPassSingle) && InstallItem(cabinet, kPassSingle));
  EXPECT_TRUE(os.files.ReadText(kTarget) == "12345" && !os.files.Exists("C:\\Fin\\bin\\c.dll"));
  EXPECT_EQ(Box(1), "Failed to download: " + ItemRequest(cabinet) + " (The item differs from the one published in the file list).");
  Session().silent = true;
  Serve(entry, "12346");
  EXPECT_TRUE(!InstallItem(entry, kPassSingle) && os.files.ReadText(kTarget) == "12345");
}

TEST_F(FetchItemTest, ACabinetThatDoesNotExpandIsNeverPlacedCompressed) {
  FileEntry retried = Entry("a.dll", 10, "bin", 4), unexpandable = Entry("b.dll", 10, "bin", 4),
            onFat = Entry("c.dll", 10, "bin", 4);
  for (const FileEntry* entry : {&retried, &unexpandable, &onFat}) Serve(*entry, "MSCF");
  os.desktop.QueueAnswers({sys::answer::kRetry, sys::answer::kIgnore, sys::answer::kIgnore});
  EXPECT_TRUE(InstallItem(retried, kPassSingle));
  EXPECT_EQ(Requests(ItemRequest(retried)), 2);  // Retry transfers it again
  EXPECT_TRUE(Box(1).rfind("Failed to expand cabinet file: '", 0) == 0 && Logged("C:\\Fin\\bin\\a.dll ---> Ignored"));
  // Without its expansion file a cabinet cannot expand either.
  os.files.faults.FailNext(fakes::FileOp::CreateTempFile, sys::err::kAccessDenied, 1, "C:\\Fin\\bin\\");
  EXPECT_TRUE(InstallItem(unexpandable, kPassSingle));
  EXPECT_TRUE(Box(2).rfind("Failed to expand", 0) == 0 && Logged("No temporary file for the expansion in C:\\Fin\\bin"));
  // On a FAT installation drive it is passed over without a question.
  Placement().installDirOnFat = true;
  EXPECT_TRUE(InstallItem(onFat, kPassSingle) && os.desktop.boxes.size() == 3 && Logged("C:\\Fin\\bin\\c.dll ---> OK"));
  for (const char* name : {"a.dll", "b.dll", "c.dll"}) EXPECT_FALSE(os.files.Exists(std::string("C:\\Fin\\bin\\") + name));
}

TEST_F(FetchItemTest, ADataAccessSetUpRunsFromItsDownloadWhichIsThenDeleted) {
  FileEntry entry = Entry("mdac_typ.exe", 5);
  Serve(entry, "MZ123");
  EXPECT_TRUE(InstallItem(entry, kPassSingle));
  ASSERT_EQ(os.processes.started.size(), 1u);
  const std::string& command = os.processes.started[0].commandLine;
  EXPECT_EQ(command.rfind("C:\\Temp\\_sy", 0), 0u);
  EXPECT_EQ(command.substr(command.find(' ')), " /Q:A /C:\"dasetup /Q /N\"");
  EXPECT_TRUE(os.processes.started[0].options.noConsoleWindow && Logged(command.substr(0, command.find(' ')) + " ---> OK"));
  EXPECT_TRUE(Placement().inUseList.find("MDAC\r\n") != std::string::npos && Results().rebootNeeded);
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\bin\\mdac_typ.exe"));
  // One that cannot start stops the run, naming its source.
  Results().rebootNeeded = false;
  os.processes.faults.FailNext(fakes::ProcessOp::Create, sys::err::kFileNotFound);
  EXPECT_FALSE(InstallItem(entry, kPassSingle) || Results().rebootNeeded);
  EXPECT_EQ(Box(0), "Unable to start setup: MDAC '" + std::string(kSite) +
                        "/docs/LogItemAttachment.aspx?Item=CSFNC_mdac_typ.exe&Release=17.1&Action=2'.\r\nError: 2");
  // For a network installation it is an ordinary file.
  Session().installMode = kInternetNetwork;
  EXPECT_TRUE(InstallItem(entry, kPassSingle) && os.processes.started.size() == 1);
  EXPECT_EQ(os.files.ReadText("C:\\Fin\\bin\\mdac_typ.exe"), "MZ123");
}

// The report runtime is installed quietly (also end to end); a refusal stops the run.
TEST_F(FetchItemTest, TheReportRuntimeIsInstalledQuietlyOrStopsTheRunWithTheInstallersNumber) {
  FileEntry entry = Entry("MolvexCRWXI.msi", 3);
  Serve(entry, "MSI");
  EXPECT_TRUE(InstallItem(entry, kPassSingle) && os.desktop.boxes.empty());
  EXPECT_EQ(os.installer.installs, std::vector<std::string>{"C:\\Fin\\bin\\MolvexCRWXI.msi REBOOT=ReallySuppress ui 35"});
  os.installer.installResult = 1603;
  EXPECT_FALSE(InstallItem(entry, kPassSingle));
  EXPECT_TRUE(Logged("MsiInstallProduct Failed - C:\\Fin\\bin\\MolvexCRWXI.msi, Code - 1603"));
  EXPECT_EQ(Box(0), std::string("Unable to start setup: Crystal Report 11 '") + kSite +
                        "/docs/LogItemAttachment.aspx?Item=CSFNC_MolvexCRWXI.msi&Release=17.1&Action=2'.\r\nError: 1603");
}

class InstallEntriesTest : public ItemTest {
 protected:
  bool Install(std::vector<FileEntry> entries, int pass = kPassSingle) {
    UpdateRun().entries = std::move(entries);
    return InstallEntries(static_cast<uint32_t>(UpdateRun().entries.size()), pass);
  }
};

TEST_F(InstallEntriesTest, AbortOrACancelStopsTheRun) {
  FileEntry broken = Entry("a.dll", 5), good = Entry("b.dll", 2);
  Serve(broken, "1");
  Serve(good, "bb");
  os.desktop.QueueAnswers({sys::answer::kAbort});
  EXPECT_FALSE(Install({broken, good}) || Requests(ItemRequest(good)));
  cancelRequested = 1;
  EXPECT_FALSE(Install({good, broken}));
  EXPECT_EQ(Requests(ItemRequest(broken)), 1);  // the item in hand is finished, no more
  cancelRequested = 0;
}

TEST_F(InstallEntriesTest, TheNextItemTravelsWhileOneIsPlacedYetItemsEndInListOrder) {
  SetTransferAheadMode(AheadMode::Inline);
  FileEntry a = Entry("a.dll", 2), b = Entry("b.dll", 2), shortOne = Entry("c.dll", 5);
  Serve(a, "aa");
  Serve(b, "bb");
  Serve(shortOne, "1");
  os.desktop.QueueAnswers({sys::answer::kAbort});
  EXPECT_FALSE(Install({a, b, shortOne}));
  for (const FileEntry* entry : {&a, &b, &shortOne}) EXPECT_EQ(Requests(ItemRequest(*entry)), 1);
  EXPECT_TRUE(os.files.ReadText("C:\\Fin\\bin\\b.dll") == "bb" && !os.files.Exists("C:\\Fin\\bin\\c.dll"));
  std::string log = os.files.ReadText(sys::JoinPath(ChooseLogFolder(), "Plandrix.log")).value_or("");
  EXPECT_LT(log.find("a.dll ---> OK"), log.find("b.dll ---> OK"));
  EXPECT_LT(log.find("b.dll ---> OK"), log.find("c.dll ---> Aborted"));
  // An item aborted after its transfer leaves the next one's transfer unused, and gone.
  FileEntry next = Entry("d.dll", 2);
  Serve(next, "dd");
  os.files.faults.FailNext(fakes::FileOp::CopyFile, sys::err::kDiskFull);
  EXPECT_FALSE(Install({b, next}));
  EXPECT_TRUE(Requests(ItemRequest(next)) == 1 && !TemporaryFilesLeft() && !os.files.Exists("C:\\Fin\\bin\\d.dll"));
  SetTransferAheadMode(AheadMode::Off);
}

// A Cancel while the next item travels ahead: the item in hand is placed, the one ahead
// stops and leaves no file, and nothing after it is asked for.
TEST_F(InstallEntriesTest, ACancelDuringTheTransferAheadStopsItAndLeavesNoFile) {
  SetTransferAheadMode(AheadMode::Inline);
  FileEntry a = Entry("a.dll", 2), b = Entry("b.dll", 2), c = Entry("c.dll", 2);
  Serve(a, "aa");
  Serve(b, "bb");
  Serve(c, "cc");
  os.internet.duringRead = [&](const std::string& url) { if (url == ItemRequest(b)) cancelRequested = 1; };
  EXPECT_FALSE(Install({a, b, c}));
  EXPECT_EQ(os.files.ReadText("C:\\Fin\\bin\\a.dll"), "aa");
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\bin\\b.dll") || TemporaryFilesLeft() || Requests(ItemRequest(c)));
  os.internet.duringRead = nullptr;
  cancelRequested = 0;
  SetTransferAheadMode(AheadMode::Off);
}

TEST_F(InstallEntriesTest, RegistrationsAreAppendedToTheReregistrationListAndSharedFilesCountedOnceInstalled) {
  os.files.MakeDirectories("C:\\Fin\\etc");
  os.files.WriteText(ReregistrationListPath(), "old.dll\tbin\r\n");
  UpdateRun().reregistrationList = std::move(OpenReregistrationList().value);
  FileEntry registered = Entry("r.dll", 1), plain = Entry("p.dll", 1), notSelected = Entry("n.dll", 1);
  registered.registrationKind = notSelected.registrationKind = 1;
  notSelected.selected = false;
  Serve(registered, "r");
  Serve(plain, "p");
  EXPECT_TRUE(Install({registered, plain, notSelected}));
  ReleaseRunState();
  EXPECT_EQ(os.files.ReadText(ReregistrationListPath()), "old.dll\tbin\r\nr.dll\tbin\r\n");
  // Shared files are counted in the installing passes only.
  const char* kCounts = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
  Session().installMode = kLanWorkstation;
  os.registry.PutDword(sys::Hive::LocalMachine, kCounts, "C:\\Other\\x.dll", 3);
  Publish("SystemFolder", "s.dll", "s");
  FileEntry shared = Entry("s.dll", 1, "SystemFolder"), otherSystem = Entry("o.dll", 1, "SystemFolder");
  shared.sharedFile = otherSystem.sharedFile = otherSystem.osSkipped = true;
  shared.selected = otherSystem.selected = false;  // counted whether or not it is installed
  EXPECT_TRUE(Install({shared, otherSystem}, kPassToCache));
  EXPECT_FALSE(os.registry.DwordOf(sys::Hive::LocalMachine, kCounts, "C:\\Windows\\system32\\s.dll"));
  EXPECT_TRUE(Install({shared, otherSystem}, kPassSingle));
  EXPECT_TRUE(os.registry.DwordOf(sys::Hive::LocalMachine, kCounts, "C:\\Windows\\system32\\s.dll"));
  EXPECT_FALSE(os.registry.DwordOf(sys::Hive::LocalMachine, kCounts, "C:\\Windows\\system32\\o.dll"));
}

TEST_F(InstallEntriesTest, SpecialItemsOfALanWorkstationAreRunOrRememberedAndTheirSourceStays) {
  Session().installMode = kLanWorkstation;
  os.registry.PutString(sys::Hive::LocalMachine, "Software\\Business Objects\\Suite 11.5\\Shared\\", "CommonFiles",
                        "C:\\Common\\BO\\");
  std::vector<FileEntry> entries;
  for (const char* name : {"novapin.exe_", "InstallMSF1.bat", "InstallMolvexEntityService.bat", "Crdb_molvex.dll"}) {
    Publish("bin", name, "x");
    entries.push_back(Entry(name, 1));
  }
  EXPECT_TRUE(Install(entries));
  const std::string driver = std::string(kNetDir) + "\\bin\\novapin.exe_";
  ASSERT_EQ(os.processes.started.size(), 2u);
  EXPECT_EQ(os.processes.started[0].commandLine,
            driver + " /VERYSILENT /SUPPRESSMSGBOXES /NOCANCEL /NORESTART /PrinterName=novaPDFProv4");
  EXPECT_TRUE(os.files.Exists(driver) && !os.files.Exists("C:\\Fin\\bin\\novapin.exe_"));  // run from the share
  EXPECT_EQ(os.processes.started[1].commandLine, "C:\\Fin\\bin\\InstallMSF1.bat");
  EXPECT_EQ(UpdateRun().entityServiceBatch, "C:\\Fin\\bin\\InstallMolvexEntityService.bat");
  EXPECT_TRUE(os.files.Exists("C:\\Common\\BO\\bin\\Crdb_molvex.dll"));
}

}  // namespace
