// The install loop: a failing item and a Cancel, copying from a network installation,
// the re-registration list, shared files by pass, and the items that are run or copied on.
#include "item_fixture.h"
#include "updaterun/installentries.h"
#include "updaterun/reregistrationlist.h"

namespace {

class InstallEntriesTest : public ItemTest {
 protected:
  bool Install(std::vector<FileEntry> entries, int pass = kPassSingle) {
    UpdateRun().entries = std::move(entries);
    return InstallEntries(static_cast<uint32_t>(UpdateRun().entries.size()), pass);
  }
};

TEST_F(InstallEntriesTest, AbortOrACancelStopsTheRunAndASilentRunIgnoresAFailingItem) {
  FileEntry broken = Entry("a.dll", 5), good = Entry("b.dll", 2), skipped = Entry("c.dll", 2);
  skipped.selected = false;
  Serve(broken, "1");
  Serve(good, "bb");
  os.desktop.QueueAnswers({sys::answer::kAbort});
  EXPECT_FALSE(Install({broken, good}));
  EXPECT_EQ(Requests(ItemRequest(good)), 0);
  cancelRequested = 1;
  EXPECT_FALSE(Install({good, broken}));
  EXPECT_EQ(Requests(ItemRequest(broken)), 1);  // the item in hand is finished, no more
  cancelRequested = 0;
  Session().silent = true;
  EXPECT_TRUE(Install({broken, good, skipped}));
  EXPECT_EQ(os.desktop.boxes.size(), 1u);
  EXPECT_TRUE(Logged("C:\\Fin\\bin\\a.dll ---> Ignored") && !os.files.Exists("C:\\Fin\\bin\\a.dll"));
  EXPECT_EQ(Requests(ItemRequest(skipped)), 0);
}

TEST_F(InstallEntriesTest, ALanInstallationCopiesFromTheShareAndCountsEveryItemsSize) {
  Session().installMode = kLanWorkstation;
  os.clock.Advance(5000);
  Publish("bin", "a.dll", "12345");
  Publish("SystemFolder", "k.dll", "newer?");
  os.files.SetFileVersion(std::string(kNetDir) + "\\SystemFolder\\k.dll", {1, 0, 0, 0});
  os.files.WriteText("C:\\Windows\\system32\\k.dll", "installed");
  os.files.SetFileVersion("C:\\Windows\\system32\\k.dll", {1, 0, 0, 0});
  Progress().totalDone = 999;
  EXPECT_TRUE(Install({Entry("a.dll", 5), Entry("k.dll", 7, "SystemFolder")}));
  EXPECT_EQ(os.files.ReadText("C:\\Fin\\bin\\a.dll"), "12345");
  EXPECT_EQ(os.files.ReadText("C:\\Windows\\system32\\k.dll"), "installed");  // a protected target as new: kept
  EXPECT_EQ(Progress().totalDone, 5 + 7);  // the copied and the kept item, from a fresh start
  EXPECT_EQ(Progress().runStartTick, os.clock.TickCount());
  EXPECT_EQ(os.internet.openedUrls.size(), 1u);  // only the session's own page
}

TEST_F(InstallEntriesTest, InstalledRegistrationsAreAppendedToTheReregistrationList) {
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
}

TEST_F(InstallEntriesTest, SharedFilesAreCountedInTheInstallingPassesOnly) {
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
