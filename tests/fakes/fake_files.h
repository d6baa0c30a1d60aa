#pragma once
// An in-memory file system with the Win32 rules the program's logic branches on:
// drives and UNC shares as volumes (CDs refuse writes), paths without letter case but
// with their case kept, attributes, times, contents, version resources, share modes
// between open handles (32), lock files that go with their handle, locks held by other
// programs, running programs, delayed moves and temp names. Every operation can be made
// to fail through `faults`.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "fakes/fake_paths.h"
#include "fakes/faults.h"
#include "sys/clock.h"
#include "sys/files.h"

namespace fakes {

enum class FileOp {
  GetAttributes, SetAttributes, Open, Read, Write, Seek, GetSize, SetEndOfFile, GetTimes, SetTimes,
  CreateDirectory, RemoveDirectory, DeleteFile, CopyFile, CreateTempFile, GetFileVersion, GetShortPath,
  GetVolumeInfo, GetDiskSpace, GetClusterInfo
};

namespace errnum {
constexpr sys::Error kNotSameDevice = 17;
constexpr sys::Error kNegativeSeek = 131;
constexpr sys::Error kDirectory = 267;
constexpr sys::Error kNoVersionResource = 1812;
}  // namespace errnum

struct VolumeFacts {
  std::string fileSystem = "NTFS";
  std::string label;
  uint32_t serial = 0x1CE5A17E;
  uint32_t sectorsPerCluster = 8;
  uint32_t bytesPerSector = 512;
  uint64_t freeBytes = 100ull << 30;
  uint64_t totalBytes = 500ull << 30;
  bool readOnly = false;  // a CD: writes fail with 19
};

struct PendingRename {
  std::string from;
  std::string to;  // empty: delete at the restart
};

class FakeFiles : public sys::Files {
 public:
  explicit FakeFiles(sys::Clock& clock);
  ~FakeFiles() override;

  sys::Result<uint32_t> GetAttributes(const std::string& path) override;
  sys::Error SetAttributes(const std::string& path, uint32_t attributes) override;
  sys::Result<sys::FileHandle> Open(const std::string& path, sys::FileAccess access, uint32_t shareMode,
                                    sys::Disposition disposition) override;
  sys::Result<uint32_t> Read(sys::FileHandle file, void* buffer, uint32_t size) override;
  sys::Result<uint32_t> Write(sys::FileHandle file, const void* buffer, uint32_t size) override;
  sys::Result<uint64_t> Seek(sys::FileHandle file, int64_t offset, sys::SeekFrom from) override;
  sys::Result<uint64_t> GetSize(sys::FileHandle file) override;
  sys::Error SetEndOfFile(sys::FileHandle file) override;
  sys::Result<sys::FileTimes> GetTimes(sys::FileHandle file) override;
  sys::Error SetTimes(sys::FileHandle file, const sys::FileTimes& times) override;
  sys::Error Close(sys::FileHandle file) override;
  sys::Result<sys::FileHandle> CreateLockFile(const std::string& path) override;
  sys::Result<std::vector<sys::FindEntry>> Find(const std::string& pattern) override;
  sys::Error CreateDirectory(const std::string& path) override;
  sys::Error CreateDirectoryWithAccessList(const std::string& path, const std::string& descriptor) override;
  sys::Error RemoveDirectory(const std::string& path) override;
  sys::Error DeleteFile(const std::string& path) override;
  sys::Error CopyFile(const std::string& from, const std::string& to, bool failIfExists) override;
  sys::Error MoveFile(const std::string& from, const std::string& to, uint32_t flags) override;
  sys::Result<std::string> CreateTempFile(const std::string& folder, const std::string& prefix) override;
  sys::Result<sys::FileVersion> GetFileVersion(const std::string& path) override;
  sys::Result<std::string> GetShortPath(const std::string& path) override;
  sys::Result<sys::VolumeInfo> GetVolumeInfo(const std::string& root) override;
  sys::Result<sys::DiskSpace> GetDiskSpace(const std::string& folder) override;
  sys::Result<sys::ClusterInfo> GetClusterInfo(const std::string& root) override;

  // --- Set-up and read-back for tests; these bypass faults, locks and attributes, and take
  // no lock of their own: tests call them while no other thread uses the fake. ---
  // A drive "D:" or a share "\\server\share"; C: exists from the start.
  void AddVolume(const std::string& root, const VolumeFacts& facts = {});
  void MakeDirectories(const std::string& path);
  // Creates or replaces a file, and its folders.
  void WriteText(const std::string& path, const std::string& text);
  std::optional<std::string> ReadText(const std::string& path) const;
  bool Exists(const std::string& path) const;
  bool IsDirectory(const std::string& path) const;
  void SetFileVersion(const std::string& path, const sys::FileVersion& version);
  std::optional<sys::FileTimes> TimesOf(const std::string& path) const;
  void SetTimesOf(const std::string& path, const sys::FileTimes& times);
  // Another program has the file open for reading and allows only `shareMode` (share::kNone: nothing).
  void LockFile(const std::string& path, uint32_t shareMode = sys::share::kNone);
  // The file is a running program (or a library it loaded): it can be read and renamed,
  // but opening it for writing or copying onto it gives 32, deleting it or replacing it
  // by a move gives 5.
  void RunProgram(const std::string& path);
  // The other programs end: their locks go and their files may be deleted.
  void EndOtherPrograms();
  const std::vector<PendingRename>& PendingRenames() const { return pendingRenames_; }
  // Ends every program, then carries out the pending renames and deletions in order.
  void Restart();
  int OpenHandleCount() const;
  // Every file and folder (display paths), sorted without case; roots left out.
  std::vector<std::string> AllPaths() const;

  std::string currentFolder = "C:\\";
  Faults<FileOp> faults;

 private:
  // Each call is atomic, as a system call is, so tests may use the fake from two threads.
  using Guard = std::lock_guard<std::recursive_mutex>;
  mutable std::recursive_mutex mutex_;
  struct Node {
    std::string display;
    bool directory = false;
    uint32_t attributes = 0;  // without kNormal and kDirectory
    sys::FileTimes times;
    std::string data;
    std::optional<sys::FileVersion> version;
    bool running = false;
  };
  struct Handle {
    std::string key;
    sys::FileAccess access = sys::FileAccess::Read;
    uint32_t shareMode = 0;
    uint64_t position = 0;
    bool foreign = false;  // held by another program (LockFile)
    bool deleteOnClose = false;
  };

  sys::Result<FakePath> Parse(const std::string& path) const { return ParseFakePath(path, currentFolder); }
  // The start of a call: holds the fake for the call and counts it against `faults`;
  // `error` is what the call answers instead.
  struct Call {
    std::unique_lock<std::recursive_mutex> lock;
    sys::Error error = 0;
    FakePath path;             // for a call on a path
    Handle* handle = nullptr;  // for a call on a handle, with its file
    Node* node = nullptr;
  };
  Call Begin(FileOp op, const std::string& path);
  Node* NodeAt(const std::string& key) const;
  // The node at a path, for the set-up helpers.
  Node* Lookup(const std::string& path) const;
  VolumeFacts* VolumeOf(const FakePath& path);
  // 3 when the parent folder or the volume is missing.
  sys::Error ParentError(const FakePath& path) const;
  sys::Error MissingError(const FakePath& path) const;
  sys::Error ShareConflict(const std::string& key, sys::FileAccess access, uint32_t shareMode) const;
  sys::Error DeleteConflict(const std::string& key) const;
  // A call on an open handle of the program's: 6 for any other, 5 when `allows` refuses its access.
  Call Use(FileOp op, sys::FileHandle file, bool (*allows)(sys::FileAccess) = nullptr);
  // Resizes a file's data, charging its volume; 112 when the growth does not fit.
  sys::Error Resize(Node& node, const FakePath& path, uint64_t newSize);
  sys::Error ResizeKey(const std::string& key, uint64_t newSize);
  Node& CreateNode(const FakePath& path, bool directory);
  void RemoveNode(const std::string& key);
  void RenameTree(const FakePath& from, const FakePath& to);
  uint32_t Reported(const Node& node) const;

  sys::Clock& clock_;
  std::map<std::string, Node> nodes_;  // folded path -> node; sorted, so a folder's children are in order
  std::map<std::string, VolumeFacts> volumes_;  // folded root -> volume
  std::map<uint64_t, Handle> handles_;
  std::vector<PendingRename> pendingRenames_;
  uint64_t nextHandle_ = 1;
  uint32_t nextTempNumber_ = 0x1A2B;
};

}  // namespace fakes
