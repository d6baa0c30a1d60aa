// Files and folders: names without letter case, 2 and 3 for what is missing, share modes,
// the read-only bit, folders that must be empty to go, access lists, times that copies
// keep and volume facts. (Temp and short names show in every installation.)
#include "seam/contract.h"
#include "sys/files.h"
#include "sys/os.h"
#include "sys/paths.h"

namespace {

using sys::Disposition;
using sys::FileAccess;
namespace err = sys::err;
namespace share = sys::share;

sys::Files& Files() { return *sys::os().files; }

SEAM_CHECK(FilesNamesWithoutCaseAndMissingPaths) {
  const std::string& dir = bench.folder;
  SEAM_EQ(seam::WriteFile(sys::JoinPath(dir, "Data.TXT"), "hello"), "");
  SEAM_TRUE(Files().GetAttributes(sys::JoinPath(dir, "data.txt")).ok());
  auto found = Files().Find(sys::JoinPath(dir, "*.TXT"));
  SEAM_TRUE(found.value.size() == 1 && found.value[0].name == "Data.TXT" && found.value[0].size == 5);
  SEAM_EQ(Files().GetAttributes(sys::JoinPath(dir, "none.txt")).error, err::kFileNotFound);
  SEAM_EQ(Files().GetAttributes(sys::JoinPath(dir, "none\\none.txt")).error, err::kPathNotFound);
  SEAM_EQ(Files().GetAttributes(sys::JoinPath(dir, "bad|name")).error, err::kInvalidName);
  SEAM_EQ(Files().Open(sys::JoinPath(dir, "none\\new.txt"), FileAccess::Write, 0, Disposition::CreateAlways).error,
          err::kPathNotFound);
  auto none = Files().Find(sys::JoinPath(dir, "*.xyz"));
  SEAM_TRUE(none.ok() && none.value.empty());
  SEAM_EQ(Files().Find(sys::JoinPath(dir, "none\\*")).error, err::kPathNotFound);
}

SEAM_CHECK(FilesReadWriteSeekAndStamp) {
  const std::string path = sys::JoinPath(bench.folder, "data.bin");
  auto file = Files().Open(path, FileAccess::ReadWrite, 0, Disposition::CreateNew);
  SEAM_TRUE(file.ok());
  SEAM_EQ(Files().Write(file.value, "hello world", 11).value, 11u);
  SEAM_EQ(Files().Seek(file.value, 5, sys::SeekFrom::Begin).value, 5u);
  SEAM_EQ(Files().Write(file.value, "!", 1).value, 1u);
  SEAM_EQ(Files().GetSize(file.value).value, 11u);
  sys::FileTimes stamp;
  stamp.lastWrite = 132000000000000000ull;
  SEAM_EQ(Files().SetTimes(file.value, stamp), err::kSuccess);
  SEAM_EQ(Files().GetTimes(file.value).value.lastWrite, stamp.lastWrite);
  SEAM_EQ(Files().Close(file.value), err::kSuccess);
  SEAM_EQ(seam::ReadFile(path), "hello!world");
  // A copy keeps the time of the last write.
  SEAM_EQ(Files().CopyFile(path, sys::JoinPath(bench.folder, "copy.bin"), false), err::kSuccess);
  auto copy = Files().Open(sys::JoinPath(bench.folder, "copy.bin"), FileAccess::Read, share::kRead,
                           Disposition::OpenExisting);
  SEAM_EQ(Files().GetTimes(copy.value).value.lastWrite, stamp.lastWrite);
  Files().Close(copy.value);
}

// Wine keeps only the read-only bit where the file system has no extended attributes and
// reports other files as archive; Windows reports a file without attributes as normal.
// (Whether the bit blocks writing depends on the user Wine runs as: the fake's own test.)
SEAM_CHECK(FilesReadOnlyBitAndReplacing) {
  const std::string target = sys::JoinPath(bench.folder, "a.dll");
  const std::string source = sys::JoinPath(bench.folder, "new.dll");
  seam::WriteFile(target, "old");
  seam::WriteFile(source, "new");
  SEAM_EQ(Files().SetAttributes(target, sys::attr::kReadOnly), err::kSuccess);
  SEAM_TRUE(Files().GetAttributes(target).value & sys::attr::kReadOnly);
  SEAM_EQ(Files().SetAttributes(target, sys::attr::kNormal), err::kSuccess);
  uint32_t cleared = Files().GetAttributes(target).value;
  SEAM_TRUE(cleared == sys::attr::kNormal || cleared == sys::attr::kArchive);
  SEAM_EQ(Files().CopyFile(source, target, false), err::kSuccess);
  SEAM_EQ(seam::ReadFile(target), "new");
  SEAM_EQ(Files().MoveFile(source, target, 0), err::kAlreadyExists);
  SEAM_EQ(Files().MoveFile(source, target, sys::move::kReplaceExisting), err::kSuccess);
  SEAM_EQ(Files().GetAttributes(source).error, err::kFileNotFound);
}

SEAM_CHECK(FilesShareModesDecideWhoElseMayOpen) {
  const std::string path = sys::JoinPath(bench.folder, "log.txt");
  seam::WriteFile(path, "x");
  auto reader = Files().Open(path, FileAccess::Read, share::kRead, Disposition::OpenExisting);
  auto second = Files().Open(path, FileAccess::Read, share::kRead, Disposition::OpenExisting);
  SEAM_TRUE(reader.ok() && second.ok());
  SEAM_EQ(Files().Open(path, FileAccess::Write, share::kRead, Disposition::OpenExisting).error, err::kSharingViolation);
  SEAM_EQ(Files().DeleteFile(path), err::kSharingViolation);
  char buffer[8];
  SEAM_EQ(Files().Read(reader.value, buffer, sizeof buffer).value, 1u);
  SEAM_EQ(Files().Read(reader.value, buffer, sizeof buffer).value, 0u);  // the end is no error
  Files().Close(reader.value);
  Files().Close(second.value);
}

SEAM_CHECK(FilesHeldByAnotherProgram) {
  const std::string held = sys::JoinPath(bench.folder, "held.txt");
  const std::string other = sys::JoinPath(bench.folder, "other.txt");
  seam::WriteFile(held, "held");
  seam::WriteFile(other, "other");
  bench.HoldOpen(held);
  SEAM_EQ(Files().CopyFile(other, held, false), err::kSharingViolation);
  SEAM_EQ(Files().CopyFile(held, sys::JoinPath(bench.folder, "copied.txt"), false), err::kSuccess);
  SEAM_EQ(Files().Open(held, FileAccess::Write, share::kRead, Disposition::OpenExisting).error,
          err::kSharingViolation);
  SEAM_EQ(Files().MoveFile(held, sys::JoinPath(bench.folder, "renamed.txt"), 0), err::kSharingViolation);
  // Replacing a held file by a move is refused with 5, not 32.
  SEAM_EQ(Files().MoveFile(other, held, sys::move::kReplaceExisting), err::kAccessDenied);
  SEAM_EQ(Files().DeleteFile(held), err::kSharingViolation);
  bench.Release();
  SEAM_EQ(Files().DeleteFile(held), err::kSuccess);
}

SEAM_CHECK(FilesOfARunningProgramCanBeRenamedButNotReplaced) {
  const std::string running = sys::JoinPath(bench.folder, "running.exe");
  const std::string other = sys::JoinPath(bench.folder, "other.exe");
  seam::WriteFile(running, "MZ");
  seam::WriteFile(other, "MZ new");
  bench.RunFrom(running);
  SEAM_EQ(Files().CopyFile(other, running, false), err::kSharingViolation);
  SEAM_EQ(Files().Open(running, FileAccess::Write, share::kRead, Disposition::OpenExisting).error,
          err::kSharingViolation);
  SEAM_EQ(Files().DeleteFile(running), err::kAccessDenied);
  SEAM_EQ(Files().MoveFile(other, running, sys::move::kReplaceExisting), err::kAccessDenied);
  SEAM_EQ(Files().CopyFile(running, sys::JoinPath(bench.folder, "copy.exe"), false), err::kSuccess);
  // The way out: rename the running file, then put the new one in its place.
  const std::string old = sys::JoinPath(bench.folder, "running.old");
  SEAM_EQ(Files().MoveFile(running, old, 0), err::kSuccess);
  SEAM_EQ(Files().CopyFile(other, running, false), err::kSuccess);
  SEAM_EQ(Files().DeleteFile(old), err::kAccessDenied);
  bench.Release();
  SEAM_EQ(Files().DeleteFile(old), err::kSuccess);
}

SEAM_CHECK(FilesFoldersMustBeEmptyToGo) {
  const std::string dir = sys::JoinPath(bench.folder, "Sub");
  SEAM_EQ(Files().CreateDirectory(dir), err::kSuccess);
  SEAM_EQ(Files().CreateDirectory(sys::JoinPath(bench.folder, "SUB")), err::kAlreadyExists);
  SEAM_EQ(Files().CreateDirectory(sys::JoinPath(bench.folder, "a\\b")), err::kPathNotFound);
  SEAM_TRUE(Files().GetAttributes(dir).value & sys::attr::kDirectory);
  seam::WriteFile(sys::JoinPath(dir, "inner.dll"), "x");
  SEAM_EQ(Files().RemoveDirectory(dir), err::kDirNotEmpty);
  SEAM_EQ(Files().DeleteFile(sys::JoinPath(dir, "INNER.DLL")), err::kSuccess);
  SEAM_EQ(Files().RemoveDirectory(dir), err::kSuccess);

  const std::string shared = sys::JoinPath(bench.folder, "Shared");
  SEAM_EQ(Files().CreateDirectoryWithAccessList(shared, "D:(A;OICI;FA;;;AU)"), err::kSuccess);
  SEAM_EQ(Files().CreateDirectoryWithAccessList(shared, "D:(A;OICI;FA;;;AU)"), err::kAlreadyExists);
  SEAM_EQ(Files().CreateDirectoryWithAccessList(sys::JoinPath(bench.folder, "Bad"), "everyone"),
          err::kInvalidSecurityDescriptor);
}

SEAM_CHECK(FilesVolumeFacts) {
  const std::string root = bench.folder.substr(0, 3);
  auto volume = Files().GetVolumeInfo(root);
  SEAM_TRUE(volume.ok() && !volume.value.fileSystem.empty());
  auto clusters = Files().GetClusterInfo(root);
  SEAM_TRUE(clusters.ok() && clusters.value.bytesPerSector > 0 && clusters.value.sectorsPerCluster > 0);
  SEAM_TRUE(!Files().GetVolumeInfo("Q:\\").ok());
  SEAM_EQ(Files().GetFileVersion(sys::JoinPath(bench.folder, "none.dll")).error, err::kFileNotFound);
  seam::WriteFile(sys::JoinPath(bench.folder, "readme.txt"), "text");
  SEAM_TRUE(!Files().GetFileVersion(sys::JoinPath(bench.folder, "readme.txt")).ok());
}

}  // namespace
