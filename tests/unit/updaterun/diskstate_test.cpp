// List entries against what is on the disk: versions of protected targets, the download
// cache and the re-registration list.
#include "filelist/downloadcache.h"
#include "filelist/fileversion.h"
#include "filelist/listdate.h"
#include "item_fixture.h"
#include "updaterun/reregistrationlist.h"

namespace {

constexpr uint64_t kSecond = 10'000'000;

class DiskState : public ItemTest {};

TEST_F(DiskState, AProtectedTargetIsKeptWhenAtLeastAsNewAsTheNewFile) {
  os.files.WriteText("C:\\new\\a.dll", "new");
  os.files.WriteText("C:\\old\\a.dll", "old");
  os.files.SetFileVersion("C:\\new\\a.dll", {5, 1, 222, 0});
  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));  // installed file without a version
  const std::pair<sys::FileVersion, bool> cases[] = {
      {{5, 1, 221, 9}, false}, {{5, 1, 222, 0}, true}, {{6, 0, 0, 0}, true}};
  for (const auto& [installed, kept] : cases) {
    os.files.SetFileVersion("C:\\old\\a.dll", installed);
    EXPECT_EQ(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"), kept) << installed[0] << "." << installed[2];
  }
  EXPECT_TRUE(TargetNotOlder("C:\\new\\unversioned.dll", "C:\\old\\a.dll"));
  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\missing.dll"));
  os.files.faults.FailNext(fakes::FileOp::GetFileVersion, sys::err::kAccessDenied, 1, "C:\\old\\a.dll");
  EXPECT_FALSE(TargetNotOlder("C:\\new\\a.dll", "C:\\old\\a.dll"));  // unreadable counts as none
}

TEST_F(DiskState, ACacheCopyIsCurrentWithTheListsDateWithinTheLooseRule) {
  const std::string path = "C:\\Temp\\Molvex Update Setup Files\\SystemFolder\\x.dll";
  FileEntry entry = Entry("x.dll", 3, "SystemFolder");
  entry.itemCode = "X_NT";  // the check never adds a variant folder
  const uint64_t listTime = ParseListDate(kDate);
  os.files.WriteText(path, "cab");
  const std::pair<int64_t, bool> cases[] = {{0, true}, {2 * kSecond, true}, {-3600 * int64_t{kSecond}, true},
                                            {kSecond / 2, false}, {60 * kSecond, false}};
  for (const auto& [offset, current] : cases) {
    os.files.SetTimesOf(path, {0, 0, listTime + offset});
    EXPECT_EQ(CachedItemIsCurrent(entry), current) << offset;
  }
  os.files.SetTimesOf(path, {0, 0, listTime});
  os.files.faults.FailNext(fakes::FileOp::Open, sys::err::kSharingViolation);
  EXPECT_FALSE(CachedItemIsCurrent(entry));  // unreadable
  EXPECT_EQ(os.files.OpenHandleCount(), 0);
  FileEntry missing = entry;
  missing.fileName = "other.dll";
  EXPECT_FALSE(CachedItemIsCurrent(missing));
  os.files.WriteText("C:\\Temp\\x.dll", "elsewhere");
  os.files.SetTimesOf("C:\\Temp\\x.dll", {0, 0, listTime});
  FileEntry outside = entry;
  outside.folder = "..";
  EXPECT_FALSE(CachedItemIsCurrent(outside));
}

TEST_F(DiskState, TheReregistrationListIsUsedOnlyWithTheEtcFolderAndCreatedThen) {
  EXPECT_EQ(OpenReregistrationList().error, sys::err::kPathNotFound);
  EXPECT_FALSE(os.files.Exists(ReregistrationListPath()));
  os.files.MakeDirectories("C:\\Fin\\etc");
  sys::Result<sys::OwnedFile> list = OpenReregistrationList();
  ASSERT_TRUE(list.ok());
  EXPECT_TRUE(os.files.Exists(ReregistrationListPath()));
  EXPECT_EQ(CountReregistrationRecords(list.value.get()).value, 0u);
  list.value.Close();
  EXPECT_EQ(os.files.OpenHandleCount(), 0);
}

TEST_F(DiskState, ReregistrationLinesBecomeEntriesToRegisterAgain) {
  std::string text = "a.dll\tbin\r\nb.ocx\tSystemFolder\r\n";
  for (int i = 0; i < 300; ++i) text += "many" + std::to_string(i) + ".dll\tbin\\sub\r\n";  // several blocks
  os.files.WriteText(ReregistrationListPath(), text + "unfinished.dll\tbin");
  sys::Result<sys::OwnedFile> list = OpenReregistrationList();
  ASSERT_TRUE(list.ok());
  const sys::FileHandle handle = list.value.get();
  EXPECT_EQ(CountReregistrationRecords(handle).value, 302u);
  std::vector<FileEntry> entries;
  ASSERT_TRUE(ReadReregistrationEntries(handle, entries));
  ASSERT_EQ(entries.size(), 302u);
  EXPECT_EQ(entries[1].fileName, "b.ocx");
  EXPECT_EQ(entries[1].folder, "SystemFolder");
  EXPECT_EQ(entries[301].folder, "bin\\sub");
  for (const FileEntry& entry : entries) EXPECT_TRUE(entry.registrationKind == 1 && !entry.selected);
  // Read from the start again after an append, as the analysis of the next list does.
  os.files.Seek(handle, 0, sys::SeekFrom::End);
  os.files.Write(handle, "\r\n", 2);
  entries.clear();
  ASSERT_TRUE(ReadReregistrationEntries(handle, entries));
  EXPECT_EQ(entries.back().fileName, "unfinished.dll");

  cancelRequested = 1;
  EXPECT_FALSE(ReadReregistrationEntries(handle, entries));
  cancelRequested = 0;
  os.files.faults.FailNext(fakes::FileOp::Read, sys::err::kLockViolation);
  EXPECT_FALSE(ReadReregistrationEntries(handle, entries));
  os.files.faults.FailNext(fakes::FileOp::Read, sys::err::kLockViolation);
  EXPECT_EQ(CountReregistrationRecords(handle).error, sys::err::kLockViolation);
}

}  // namespace
