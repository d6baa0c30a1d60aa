// The install loop over the analysed entries: what a failing item does to the rest of
// the run, a Cancel, copying from a network installation with its byte count, the
// re-registration list, shared files by pass, and the items that are run or copied on.
#include "item_fixture.h"
#include "updaterun/installentries.h"
#include "updaterun/reregistrationlist.h"

namespace {

constexpr const char* kSystemSharedDlls = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

class InstallEntriesTest : public ItemTest {
 protected:
  void Use(std::vector<FileEntry> entries) { UpdateRun().entries = std::move(entries); }
  uint32_t Count() const { return static_cast<uint32_t>(UpdateRun().entries.size()); }
  // A file on the network installation, where the LAN modes copy from.
  void Publish(const std::string& folder, const std::string& name, const std::string& bytes) {
    os.files.WriteText(std::string(kNetDir) + "\\" + folder + "\\" + name, bytes);
  }
};

TEST_F(InstallEntriesTest, ASilentRunIgnoresAFailingItemAndGoesOnWithTheNext) {
  Session().silent = true;
  FileEntry broken = Entry("a.dll", 5);
  FileEntry good = Entry("b.dll", 2);
  FileEntry skipped = Entry("c.dll", 2);
  skipped.selected = false;
  Serve(broken, "1");
  Serve(good, "bb");
  Use({broken, good, skipped});

  EXPECT_TRUE(InstallEntries(Count(), kPassSingle));
  EXPECT_TRUE(os.desktop.boxes.empty());
  EXPECT_TRUE(Logged("C:\\Fin\\bin\\a.dll ---> Ignored"));
  EXPECT_TRUE(Logged("--> Ignore\r\n"));
  EXPECT_EQ(os.files.ReadText("C:\\Fin\\bin\\b.dll"), "bb");
  EXPECT_EQ(Requests(ItemRequest(skipped)), 0);
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\bin\\a.dll"));
}

TEST_F(InstallEntriesTest, AbortStopsTheRunAtTheItem) {
  FileEntry broken = Entry("a.dll", 5);
  FileEntry next = Entry("b.dll", 2);
  Serve(broken, "1");
  Serve(next, "bb");
  Use({broken, next});
  os.desktop.QueueAnswers({sys::answer::kAbort});
  EXPECT_FALSE(InstallEntries(Count(), kPassSingle));
  EXPECT_TRUE(Logged("C:\\Fin\\bin\\a.dll ---> Aborted"));
  EXPECT_EQ(Requests(ItemRequest(next)), 0);
  EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(InstallEntriesTest, ACancelEndsTheLoopAfterTheItemInHand) {
  FileEntry first = Entry("a.dll", 1);
  FileEntry second = Entry("b.dll", 1);
  Serve(first, "a");
  Serve(second, "b");
  Use({first, second});
  cancelRequested = 1;
  EXPECT_FALSE(InstallEntries(Count(), kPassSingle));
  EXPECT_TRUE(os.files.Exists("C:\\Fin\\bin\\a.dll"));
  EXPECT_EQ(Requests(ItemRequest(second)), 0);
}

TEST_F(InstallEntriesTest, ALanInstallationCopiesFromTheShareAndCountsEveryItemsSize) {
  Session().installMode = kLanWorkstation;
  os.clock.Advance(5000);
  Publish("bin", "a.dll", "12345");
  Publish("SystemFolder", "k.dll", "newer?");
  os.files.SetFileVersion(std::string(kNetDir) + "\\SystemFolder\\k.dll", {1, 0, 0, 0});
  os.files.WriteText("C:\\Windows\\system32\\k.dll", "installed");
  os.files.SetFileVersion("C:\\Windows\\system32\\k.dll", {1, 0, 0, 0});
  Use({Entry("a.dll", 5), Entry("k.dll", 7, "SystemFolder")});
  UpdateProgress([](ProgressState& progress) { progress.totalDone = 999; });

  EXPECT_TRUE(InstallEntries(Count(), kPassSingle));
  EXPECT_EQ(os.files.ReadText("C:\\Fin\\bin\\a.dll"), "12345");
  EXPECT_EQ(os.files.ReadText("C:\\Windows\\system32\\k.dll"), "installed");  // as new: kept
  EXPECT_EQ(Progress().totalDone, 5 + 7);  // the copied and the kept item, from a fresh start
  EXPECT_EQ(Progress().runStartTick, os.clock.TickCount());
  EXPECT_TRUE(os.internet.openedUrls.size() == 1);  // only the session's own page
  EXPECT_TRUE(TemporaryFiles().empty());
  EXPECT_TRUE(os.files.Exists(std::string(kNetDir) + "\\bin\\a.dll"));
}

TEST_F(InstallEntriesTest, InstalledRegistrationsAreAppendedToTheReregistrationList) {
  os.files.MakeDirectories("C:\\Fin\\etc");
  os.files.WriteText(ReregistrationListPath(), "old.dll\tbin\r\n");
  sys::Result<sys::FileHandle> list = OpenReregistrationList();
  ASSERT_TRUE(list.ok());
  UpdateRun().reregistrationList = list.value;
  FileEntry registered = Entry("r.dll", 1);
  registered.registrationKind = 1;
  FileEntry plain = Entry("p.dll", 1);
  FileEntry notSelected = Entry("n.dll", 1);
  notSelected.registrationKind = 2;
  notSelected.selected = false;
  Serve(registered, "r");
  Serve(plain, "p");
  Use({registered, plain, notSelected});

  EXPECT_TRUE(InstallEntries(Count(), kPassSingle));
  ReleaseRunState();
  EXPECT_EQ(os.files.ReadText(ReregistrationListPath()), "old.dll\tbin\r\nr.dll\tbin\r\n");
}

TEST_F(InstallEntriesTest, SharedFilesAreCountedInTheInstallingPassesOnly) {
  Session().installMode = kLanWorkstation;
  os.registry.PutDword(sys::Hive::LocalMachine, kSystemSharedDlls, "C:\\Other\\x.dll", 3);
  Publish("SystemFolder", "s.dll", "s");
  FileEntry shared = Entry("s.dll", 1, "SystemFolder");
  shared.sharedFile = true;
  shared.selected = false;  // counted whether or not it is installed
  FileEntry otherSystem = Entry("o.dll", 1, "SystemFolder");
  otherSystem.sharedFile = true;
  otherSystem.osSkipped = true;
  otherSystem.selected = false;
  Use({shared, otherSystem});

  EXPECT_TRUE(InstallEntries(Count(), kPassToCache));
  EXPECT_FALSE(os.registry.DwordOf(sys::Hive::LocalMachine, kSystemSharedDlls, "C:\\Windows\\system32\\s.dll"));
  EXPECT_TRUE(InstallEntries(Count(), kPassSingle));
  EXPECT_TRUE(os.registry.DwordOf(sys::Hive::LocalMachine, kSystemSharedDlls, "C:\\Windows\\system32\\s.dll"));
  EXPECT_FALSE(os.registry.DwordOf(sys::Hive::LocalMachine, kSystemSharedDlls, "C:\\Windows\\system32\\o.dll"));
}

TEST_F(InstallEntriesTest, SpecialItemsOfALanWorkstationAreRunOrRememberedAndTheirSourceStays) {
  Session().installMode = kLanWorkstation;
  int followUps = 0;
  Steps().printerDriverFollowUp = [&followUps] { ++followUps; };
  os.registry.PutString(sys::Hive::LocalMachine, "Software\\Business Objects\\Suite 11.5\\Shared\\", "CommonFiles",
                        "C:\\Program Files\\Common Files\\Business Objects\\3.0\\");
  for (const char* name : {"novapin.exe_", "InstallMSF1.bat", "InstallMolvexEntityService.bat", "Crdb_molvex.dll"})
    Publish("bin", name, "x");
  Use({Entry("novapin.exe_", 1), Entry("InstallMSF1.bat", 1), Entry("InstallMolvexEntityService.bat", 1),
       Entry("Crdb_molvex.dll", 1)});

  EXPECT_TRUE(InstallEntries(Count(), kPassSingle));
  const std::string driver = std::string(kNetDir) + "\\bin\\novapin.exe_";
  ASSERT_EQ(os.processes.started.size(), 2u);
  EXPECT_EQ(os.processes.started[0].commandLine,
            driver + " /VERYSILENT /SUPPRESSMSGBOXES /NOCANCEL /NORESTART /PrinterName=novaPDFProv4");
  EXPECT_EQ(followUps, 1);
  EXPECT_TRUE(os.files.Exists(driver));  // run from the share, never deleted there
  EXPECT_FALSE(os.files.Exists("C:\\Fin\\bin\\novapin.exe_"));
  EXPECT_EQ(os.processes.started[1].commandLine, "C:\\Fin\\bin\\InstallMSF1.bat");
  EXPECT_EQ(UpdateRun().entityServiceBatch, "C:\\Fin\\bin\\InstallMolvexEntityService.bat");
  EXPECT_TRUE(os.files.Exists("C:\\Program Files\\Common Files\\Business Objects\\3.0\\bin\\Crdb_molvex.dll"));
  EXPECT_TRUE(Logged(driver + " ---> OK"));
}

}  // namespace
