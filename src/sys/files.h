#pragma once
// Files, directories and volumes with Win32's shape: attribute bits, error numbers,
// FILETIME values (100 ns since 1601, UTC). Paths are ANSI Windows paths.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sys/result.h"

namespace sys {

namespace attr {
constexpr uint32_t kReadOnly = 0x1;
constexpr uint32_t kHidden = 0x2;
constexpr uint32_t kSystem = 0x4;
constexpr uint32_t kDirectory = 0x10;
constexpr uint32_t kArchive = 0x20;
constexpr uint32_t kNormal = 0x80;
constexpr uint32_t kTemporary = 0x100;
constexpr uint32_t kInvalid = 0xFFFFFFFF;
}  // namespace attr

// An open file. 0 is never a valid handle.
struct FileHandle {
  uint64_t id = 0;
  explicit operator bool() const { return id != 0; }
};

class Files;

// An open file that closes itself: it owns one handle of the Files that opened it and
// closes it when it goes, unless it was moved on. Move-only.
class OwnedFile {
 public:
  OwnedFile() = default;
  OwnedFile(Files& files, FileHandle handle) : files_(&files), handle_(handle) {}
  OwnedFile(OwnedFile&& other) noexcept : files_(other.files_), handle_(other.handle_) { other.handle_ = {}; }
  OwnedFile& operator=(OwnedFile&& other) noexcept {
    if (this != &other) {
      Close();
      files_ = other.files_;
      handle_ = other.handle_;
      other.handle_ = {};
    }
    return *this;
  }
  OwnedFile(const OwnedFile&) = delete;
  OwnedFile& operator=(const OwnedFile&) = delete;
  ~OwnedFile() { Close(); }

  FileHandle get() const { return handle_; }
  explicit operator bool() const { return static_cast<bool>(handle_); }
  // Closes now (a no-op when nothing is open).
  inline void Close();
  // Gives the handle up without closing it.
  FileHandle Release() {
    FileHandle handle = handle_;
    handle_ = {};
    return handle;
  }

 private:
  Files* files_ = nullptr;
  FileHandle handle_;
};

enum class FileAccess { Read, Write, ReadWrite };
// Who else may open the file while we hold it (FILE_SHARE_* bits).
namespace share {
constexpr uint32_t kNone = 0;
constexpr uint32_t kRead = 1;
constexpr uint32_t kWrite = 2;
constexpr uint32_t kDelete = 4;
}  // namespace share
// CreateFile's creation dispositions, same numbers.
enum class Disposition : uint32_t { CreateNew = 1, CreateAlways = 2, OpenExisting = 3, OpenAlways = 4, TruncateExisting = 5 };
enum class SeekFrom : uint32_t { Begin = 0, Current = 1, End = 2 };

// MoveFileEx flags, same numbers.
namespace move {
constexpr uint32_t kReplaceExisting = 0x1;
constexpr uint32_t kCopyAllowed = 0x2;
constexpr uint32_t kDelayUntilReboot = 0x4;
constexpr uint32_t kWriteThrough = 0x8;
}  // namespace move

struct FileTimes {
  uint64_t creation = 0;
  uint64_t lastAccess = 0;
  uint64_t lastWrite = 0;
};

struct FindEntry {
  std::string name;  // the name only, no folder
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint64_t lastWrite = 0;  // FILETIME
};

struct VolumeInfo {
  std::string fileSystem;  // "NTFS", "FAT32", "FAT" …
  std::string label;
  uint32_t serial = 0;
};

struct DiskSpace {
  uint64_t freeToCaller = 0;
  uint64_t total = 0;
  uint64_t totalFree = 0;
};

struct ClusterInfo {
  uint32_t sectorsPerCluster = 0;
  uint32_t bytesPerSector = 0;
};

// A four-part file version (major, minor, build, revision).
using FileVersion = std::array<uint16_t, 4>;

class Files {
 public:
  virtual ~Files() = default;

  // GetFileAttributes: the attribute bits, or the error (2 or 3 when absent).
  virtual Result<uint32_t> GetAttributes(const std::string& path) = 0;
  virtual Error SetAttributes(const std::string& path, uint32_t attributes) = 0;

  virtual Result<FileHandle> Open(const std::string& path, FileAccess access, uint32_t shareMode,
                                  Disposition disposition) = 0;
  // Reads up to `size` bytes; fewer (0 at the end) is not an error.
  virtual Result<uint32_t> Read(FileHandle file, void* buffer, uint32_t size) = 0;
  // Writes `size` bytes; a short write comes back as an error (112 when the disk is full).
  virtual Result<uint32_t> Write(FileHandle file, const void* buffer, uint32_t size) = 0;
  // Moves the file pointer; the new position from the start.
  virtual Result<uint64_t> Seek(FileHandle file, int64_t offset, SeekFrom from) = 0;
  virtual Result<uint64_t> GetSize(FileHandle file) = 0;
  // Cuts or extends the file at the current position.
  virtual Error SetEndOfFile(FileHandle file) = 0;
  virtual Result<FileTimes> GetTimes(FileHandle file) = 0;
  // Sets the times that are non-zero.
  virtual Error SetTimes(FileHandle file, const FileTimes& times) = 0;
  virtual Error Close(FileHandle file) = 0;
  // Creates (or opens) a file that nobody else may open while the handle lives, not even
  // through a share from another machine, and that the system deletes when the handle
  // closes, also when the process dies: a lock that cannot outlive its holder.
  virtual Result<FileHandle> CreateLockFile(const std::string& path) = 0;
  // Open with a handle that closes itself.
  Result<OwnedFile> OpenOwned(const std::string& path, FileAccess access, uint32_t shareMode,
                              Disposition disposition) {
    Result<FileHandle> opened = Open(path, access, shareMode, disposition);
    if (!opened.ok()) return Result<OwnedFile>::Fail(opened.error);
    return Result<OwnedFile>::Ok(OwnedFile(*this, opened.value));
  }

  // FindFirstFile/FindNextFile over a pattern with * and ?; "." and ".." are left out.
  // No match is an empty list, not an error; a missing folder is 3.
  virtual Result<std::vector<FindEntry>> Find(const std::string& pattern) = 0;

  virtual Error CreateDirectory(const std::string& path) = 0;   // 183 when it exists
  // Creates a folder with the access list of a security descriptor string; 1338 when the
  // descriptor cannot be built. An adapter that cannot apply access lists creates it plainly.
  virtual Error CreateDirectoryWithAccessList(const std::string& path, const std::string& descriptor) {
    (void)descriptor;
    return CreateDirectory(path);
  }
  virtual Error RemoveDirectory(const std::string& path) = 0;   // 145 when not empty
  virtual Error DeleteFile(const std::string& path) = 0;
  virtual Error CopyFile(const std::string& from, const std::string& to, bool failIfExists) = 0;
  // MoveFileEx with the `move::` flags; with kDelayUntilReboot and an empty `to` the
  // file is deleted at the next restart.
  virtual Error MoveFile(const std::string& from, const std::string& to, uint32_t flags) = 0;

  // GetTempFileName: creates an empty unique file "<folder>\<prefix>XXXX.tmp" and names it.
  virtual Result<std::string> CreateTempFile(const std::string& folder, const std::string& prefix) = 0;
  // The file version of a version resource; 1812 (no resource) or another error otherwise.
  virtual Result<FileVersion> GetFileVersion(const std::string& path) = 0;
  // GetShortPathName: the short (8.3) form of an existing path.
  virtual Result<std::string> GetShortPath(const std::string& path) = 0;

  // Volume facts for a root such as "C:\" or "\\server\share\".
  virtual Result<VolumeInfo> GetVolumeInfo(const std::string& root) = 0;
  virtual Result<DiskSpace> GetDiskSpace(const std::string& folder) = 0;
  virtual Result<ClusterInfo> GetClusterInfo(const std::string& root) = 0;
};

void OwnedFile::Close() {
  if (handle_ && files_ != nullptr) files_->Close(handle_);
  handle_ = {};
}

}  // namespace sys
