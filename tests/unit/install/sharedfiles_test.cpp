// The system's use counts of shared files and this installation's own lists.
#include <gtest/gtest.h>

#include "fakes/fake_os.h"
#include "install/createdfolders.h"
#include "install/sharedfiles.h"
#include "sys/registry_helpers.h"
#include "session/session.h"
#include "sys/os.h"
#include "session/knownplaces.h"

namespace {

constexpr const char* kSystemList = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

class SharedFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    Session().installMode = kInternetWorkstation;
    Session().installDir = "C:\\Apps\\Fennic 2";
    Places().systemFolder = "C:\\Windows\\system32";
    sys::os().registry->CreateKey(sys::Hive::LocalMachine, kSystemList);
  }
  FileEntry Shared(bool existed, int registrationKind = 0) {
    FileEntry entry;
    entry.fileName = "msvcx.dll";
    entry.folder = "SystemFolder";
    entry.targetExisted = existed;
    entry.registrationKind = registrationKind;
    return entry;
  }
  std::optional<uint32_t> SystemCount() {
    return sys::QueryDword(sys::Hive::LocalMachine, kSystemList, "C:\\Windows\\system32\\msvcx.dll");
  }
  FakeOs os;
};

TEST_F(SharedFiles, ANewFileIsCountedOnceAndListedForThisInstallation) {
  FileEntry entry = Shared(false, 1);
  RecordSharedFile(entry);
  EXPECT_EQ(SystemCount(), 1u);
  EXPECT_EQ(sys::QueryDword(sys::Hive::LocalMachine,
                            "Software\\Molvex\\e-Halomir Plandrix\\C:-Apps-Fennic 2\\SharedDlls",
                            "C:\\Windows\\system32\\msvcx.dll"),
            1u);
  RecordSharedFile(entry);  // a second update counts nothing
  EXPECT_EQ(SystemCount(), 1u);
}

TEST_F(SharedFiles, AFileThatWasThereBeforeCountsItsEarlierUser) {
  FileEntry entry = Shared(true);
  RecordSharedFile(entry);
  EXPECT_EQ(SystemCount(), 2u);
  Session().installDir = "D:\\Other";  // a second installation adds its own use
  RecordSharedFile(entry);
  EXPECT_EQ(SystemCount(), 3u);
}

TEST_F(SharedFiles, CountsFallAwayAndReadingAnUncountedFileWritesNothing) {
  EXPECT_EQ(AdjustSharedDllCount("C:\\x.dll", 0, false), -1);
  EXPECT_EQ(AdjustSharedDllCount("C:\\x.dll", -1, true), -1);
  EXPECT_FALSE(sys::os().registry->QueryValue(sys::Hive::LocalMachine, kSystemList, "C:\\x.dll").ok());
  EXPECT_EQ(AdjustSharedDllCount("C:\\x.dll", 1, false), 1);
  EXPECT_EQ(AdjustSharedDllCount("c:\\X.DLL", -1, false), 0);
  EXPECT_FALSE(sys::os().registry->QueryValue(sys::Hive::LocalMachine, kSystemList, "C:\\x.dll").ok());
}

TEST_F(SharedFiles, CreatedFoldersAreRecordedInsideTheInstallationOnlyAndEmptyNamesReused) {
  std::string key = InstallationKeyPath();
  ResetCreatedFolderCounter();
  RecordCreatedFolder("C:\\Apps\\Fennic 2");        // the installation folder itself
  RecordCreatedFolder("C:\\Elsewhere\\bin");       // outside it
  EXPECT_FALSE(os.registry.HasKey(sys::Hive::LocalMachine, key));
  os.registry.PutString(sys::Hive::LocalMachine, key, "MolvexFolder1", "");
  RecordCreatedFolder("C:\\Apps\\Fennic 2\\bin");
  EXPECT_EQ(sys::QueryString(sys::Hive::LocalMachine, key, "MolvexFolder1"), "C:\\Apps\\Fennic 2\\bin");

  os.files.WriteText("C:\\Apps\\Fennic 2\\bin\\a.txt", "a");
  RemoveCreatedFolders(sys::Hive::LocalMachine);
  EXPECT_FALSE(os.files.Exists("C:\\Apps\\Fennic 2\\bin"));
  EXPECT_FALSE(os.registry.HasKey(sys::Hive::LocalMachine, key));
}

}  // namespace
