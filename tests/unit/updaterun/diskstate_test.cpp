// List entries against what is on the disk: versions of files, the download cache and
// the re-registration list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_os.h"
#include "session/session.h"
#include "filelist/downloadcache.h"
#include "filelist/fileversion.h"
#include "session/knownplaces.h"
#include "updaterun/reregistrationlist.h"

namespace {

constexpr uint64_t kSecond = 10'000'000;

class DiskState : public ::testing::Test {
 protected:
  void SetUp() override {
    Places() = KnownPlaces{};
    Places().tempFolder = "C:\\Temp\\";
    Session().installDir = "C:\\Fennic";
  }
  void TearDown() override {
    Places() = KnownPlaces{};
    cancelRequested = 0;
  }
  FakeOs os;
};

TEST_F(DiskState, AProtectedTargetIsKeptWhenAtLeastAsNewAsTheNewFile) {
  os.files.WriteText("C:\\new\\a.dll", "new");
  os.files.WriteText("C:\\old\\a.dll", "old");
  os.files.SetFileVersion("C:\\new\\a.dll", {5, 1, 222, 0});

  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));  // installed file without a version
  os.files.SetFileVersion("C:\\old\\a.dll", {5, 1, 221, 9});
  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));
  os.files.SetFileVersion("C:\\old\\a.dll", {5, 1, 222, 0});
  EXPECT_TRUE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));
  os.files.SetFileVersion("C:\\old\\a.dll", {6, 0, 0, 0});
  EXPECT_TRUE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));
  EXPECT_TRUE(TargetNotOlder("C:\\new\\unversioned.dll", "C:\\old\\a.dll"));
  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\missing.dll"));
  os.files.faults.FailNext(fakes::FileOp::GetFileVersion, sys::err::kAccessDenied, 1, "C:\\old\\a.dll");
  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));  // unreadable counts as none
}

class DownloadCache : public DiskState {
 protected:
  FileEntry Cached(uint64_t lastWrite) {
    const std::string path = "C:\\Temp\\Molvex Update Setup Files\\SystemFolder\\x.dll";
    os.files.WriteText(path, "cab");
    os.files.SetTimesOf(path, {0, 0, lastWrite});
    FileEntry entry;
    entry.itemCode = "X_NT";  // the check never adds a variant folder
    entry.folder = "SystemFolder";
    entry.fileName = "x.dll";
    entry.date = "01-02-2003 04:05:06";
    return entry;
  }
  uint64_t ListTime() { return fakes::FileTimeOf({2003, 2, 0, 1, 4, 5, 6, 0}); }
};

TEST_F(DownloadCache, ACopyWithTheListsDateWithinTheLooseRuleIsCurrent) {
  EXPECT_TRUE(CachedItemIsCurrent(Cached(ListTime())));
  EXPECT_TRUE(CachedItemIsCurrent(Cached(ListTime() + 2 * kSecond)));
  EXPECT_TRUE(CachedItemIsCurrent(Cached(ListTime() - 3600 * kSecond)));
  EXPECT_FALSE(CachedItemIsCurrent(Cached(ListTime() + kSecond / 2)));
  EXPECT_FALSE(CachedItemIsCurrent(Cached(ListTime() + 60 * kSecond)));
}

TEST_F(DownloadCache, AMissingOrUnreadableCopyIsNotCurrent) {
  FileEntry entry = Cached(ListTime());
  entry.fileName = "other.dll";
  EXPECT_FALSE(CachedItemIsCurrent(entry));
  FileEntry locked = Cached(ListTime());
  os.files.faults.FailNext(fakes::FileOp::Open, sys::err::kSharingViolation);
  EXPECT_FALSE(CachedItemIsCurrent(locked));
  EXPECT_EQ(os.files.OpenHandleCount(), 0);
}

TEST_F(DownloadCache, AFolderLeadingOutOfTheCacheIsNeverCurrent) {
  os.files.WriteText("C:\\Temp\\x.dll", "elsewhere");
  os.files.SetTimesOf("C:\\Temp\\x.dll", {0, 0, ListTime()});
  FileEntry entry = Cached(ListTime());
  entry.folder = "..";
  EXPECT_FALSE(CachedItemIsCurrent(entry));
}

class ReregistrationList : public DiskState {
 protected:
  static constexpr const char* kPath = "C:\\Fennic\\etc\\HalomirPlandrix.txt";
};

TEST_F(ReregistrationList, IsNotUsedWithoutTheEtcFolder) {
  EXPECT_EQ(OpenReregistrationList().error, sys::err::kPathNotFound);
  EXPECT_FALSE(os.files.Exists(kPath));
}

TEST_F(ReregistrationList, IsCreatedWhenMissingAndReadsEmpty) {
  os.files.MakeDirectories("C:\\Fennic\\etc");
  const auto list = OpenReregistrationList();
  ASSERT_TRUE(list.ok());
  EXPECT_TRUE(os.files.Exists(kPath));
  EXPECT_EQ(CountReregistrationRecords(list.value).value, 0u);
  std::vector<FileEntry> entries;
  EXPECT_TRUE(ReadReregistrationEntries(list.value, entries));
  EXPECT_TRUE(entries.empty());
  os.files.Close(list.value);
}

TEST_F(ReregistrationList, LinesBecomeEntriesToRegisterAgain) {
  std::string text = "a.dll\tbin\r\nb.ocx\tSystemFolder\r\n";
  for (int i = 0; i < 300; ++i) text += "many" + std::to_string(i) + ".dll\tbin\\sub\r\n";  // several blocks
  text += "unfinished.dll\tbin";
  os.files.WriteText(kPath, text);
  const auto list = OpenReregistrationList();
  ASSERT_TRUE(list.ok());
  EXPECT_EQ(CountReregistrationRecords(list.value).value, 302u);

  std::vector<FileEntry> entries;
  ASSERT_TRUE(ReadReregistrationEntries(list.value, entries));
  ASSERT_EQ(entries.size(), 302u);
  EXPECT_EQ(entries[0].fileName, "a.dll");
  EXPECT_EQ(entries[0].folder, "bin");
  EXPECT_EQ(entries[1].folder, "SystemFolder");
  EXPECT_EQ(entries[301].fileName, "many299.dll");
  EXPECT_EQ(entries[301].folder, "bin\\sub");
  for (const FileEntry& entry : entries) {
    EXPECT_EQ(entry.registrationKind, 1);
    EXPECT_FALSE(entry.selected);
  }
  // Read from the start again after an append, as the analysis of the next list does.
  os.files.Seek(list.value, 0, sys::SeekFrom::End);
  os.files.Write(list.value, "\r\n", 2);
  entries.clear();
  ASSERT_TRUE(ReadReregistrationEntries(list.value, entries));
  EXPECT_EQ(entries.size(), 303u);
  EXPECT_EQ(entries.back().fileName, "unfinished.dll");
  os.files.Close(list.value);
}

TEST_F(ReregistrationList, StopsOnCancelAndOnAFailedRead) {
  os.files.WriteText(kPath, "a.dll\tbin\r\n");
  const auto list = OpenReregistrationList();
  ASSERT_TRUE(list.ok());
  std::vector<FileEntry> entries;
  cancelRequested = 1;
  EXPECT_FALSE(ReadReregistrationEntries(list.value, entries));
  cancelRequested = 0;
  os.files.faults.FailNext(fakes::FileOp::Read, sys::err::kLockViolation);
  entries.clear();
  EXPECT_FALSE(ReadReregistrationEntries(list.value, entries));
  os.files.faults.FailNext(fakes::FileOp::Read, sys::err::kLockViolation);
  EXPECT_EQ(CountReregistrationRecords(list.value).error, sys::err::kLockViolation);
  os.files.Close(list.value);
}

}  // namespace
