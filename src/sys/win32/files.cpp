#include "sys/win32/files.h"

#include <vector>

#include "sys/win32/winapi.h"
// Needs <windows.h> first.
#include <sddl.h>

namespace sys::win32 {

namespace {

HANDLE Native(FileHandle file) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(file.id)); }

Error LastError() { return static_cast<Error>(GetLastError()); }

DWORD RightsOf(FileAccess access) {
  switch (access) {
    case FileAccess::Read: return GENERIC_READ;
    case FileAccess::Write: return GENERIC_WRITE;
    case FileAccess::ReadWrite: return GENERIC_READ | GENERIC_WRITE;
  }
  return GENERIC_READ;
}

uint64_t FromFileTime(const FILETIME& time) {
  return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME ToFileTime(uint64_t value) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(value);
  time.dwHighDateTime = static_cast<DWORD>(value >> 32);
  return time;
}

bool IsDotEntry(const char* name) { return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)); }

// Closes a FindFirstFile search.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

class Win32FilesImpl final : public Files {
 public:
  Result<uint32_t> GetAttributes(const std::string& path) override {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Result<uint32_t>::Fail(LastError());
    return Result<uint32_t>::Ok(attributes);
  }

  Error SetAttributes(const std::string& path, uint32_t attributes) override {
    return SetFileAttributesA(path.c_str(), attributes) ? err::kSuccess : LastError();
  }

  Result<FileHandle> Open(const std::string& path, FileAccess access, uint32_t shareMode,
                          Disposition disposition) override {
    HANDLE file = CreateFileA(path.c_str(), RightsOf(access), shareMode, nullptr, static_cast<DWORD>(disposition),
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Result<FileHandle>::Fail(LastError());
    return Result<FileHandle>::Ok(FileHandle{static_cast<uint64_t>(reinterpret_cast<uintptr_t>(file))});
  }

  Result<uint32_t> Read(FileHandle file, void* buffer, uint32_t size) override {
    DWORD got = 0;
    if (!ReadFile(Native(file), buffer, size, &got, nullptr)) return Result<uint32_t>::Fail(LastError());
    return Result<uint32_t>::Ok(got);
  }

  Result<uint32_t> Write(FileHandle file, const void* buffer, uint32_t size) override {
    DWORD written = 0;
    if (!WriteFile(Native(file), buffer, size, &written, nullptr)) return Result<uint32_t>::Fail(LastError());
    if (written < size) return Result<uint32_t>::Fail(err::kDiskFull);
    return Result<uint32_t>::Ok(written);
  }

  Result<uint64_t> Seek(FileHandle file, int64_t offset, SeekFrom from) override {
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    if (!SetFilePointerEx(Native(file), distance, &position, static_cast<DWORD>(from)))
      return Result<uint64_t>::Fail(LastError());
    return Result<uint64_t>::Ok(static_cast<uint64_t>(position.QuadPart));
  }

  Result<uint64_t> GetSize(FileHandle file) override {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(Native(file), &size)) return Result<uint64_t>::Fail(LastError());
    return Result<uint64_t>::Ok(static_cast<uint64_t>(size.QuadPart));
  }

  Error SetEndOfFile(FileHandle file) override { return ::SetEndOfFile(Native(file)) ? err::kSuccess : LastError(); }

  Result<FileTimes> GetTimes(FileHandle file) override {
    FILETIME creation, access, write;
    if (!GetFileTime(Native(file), &creation, &access, &write)) return Result<FileTimes>::Fail(LastError());
    return Result<FileTimes>::Ok(FileTimes{FromFileTime(creation), FromFileTime(access), FromFileTime(write)});
  }

  Error SetTimes(FileHandle file, const FileTimes& times) override {
    FILETIME creation = ToFileTime(times.creation);
    FILETIME access = ToFileTime(times.lastAccess);
    FILETIME write = ToFileTime(times.lastWrite);
    BOOL done = SetFileTime(Native(file), times.creation ? &creation : nullptr, times.lastAccess ? &access : nullptr,
                            times.lastWrite ? &write : nullptr);
    return done ? err::kSuccess : LastError();
  }

  Error Close(FileHandle file) override { return CloseHandle(Native(file)) ? err::kSuccess : LastError(); }

  Result<FileHandle> CreateLockFile(const std::string& path) override {
    // Deleting on close needs the right to delete.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Result<FileHandle>::Fail(LastError());
    return Result<FileHandle>::Ok(FileHandle{static_cast<uint64_t>(reinterpret_cast<uintptr_t>(file))});
  }

  Result<std::vector<FindEntry>> Find(const std::string& pattern) override {
    using R = Result<std::vector<FindEntry>>;
    WIN32_FIND_DATAA data;
    FindHandle search(FindFirstFileA(pattern.c_str(), &data));
    std::vector<FindEntry> found;
    if (search.get() == INVALID_HANDLE_VALUE) {
      Error error = LastError();
      // "No match" is an answer; a missing folder is not.
      if (error == err::kFileNotFound || error == ERROR_NO_MORE_FILES) return R::Ok(std::move(found));
      return R::Fail(error);
    }
    do {
      if (IsDotEntry(data.cFileName)) continue;
      uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
      found.push_back(FindEntry{data.cFileName, data.dwFileAttributes, size, FromFileTime(data.ftLastWriteTime)});
    } while (FindNextFileA(search.get(), &data));
    Error error = LastError();
    if (error != ERROR_NO_MORE_FILES) return R::Fail(error);
    return R::Ok(std::move(found));
  }

  Error CreateDirectory(const std::string& path) override {
    return CreateDirectoryA(path.c_str(), nullptr) ? err::kSuccess : LastError();
  }

  Error CreateDirectoryWithAccessList(const std::string& path, const std::string& descriptor) override {
    PSECURITY_DESCRIPTOR security = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(descriptor.c_str(), SDDL_REVISION_1, &security, nullptr))
      return ERROR_INVALID_SECURITY_DESCR;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, security, FALSE};
    Error result = CreateDirectoryA(path.c_str(), &attributes) ? err::kSuccess : LastError();
    LocalFree(security);
    return result;
  }

  Error RemoveDirectory(const std::string& path) override {
    return RemoveDirectoryA(path.c_str()) ? err::kSuccess : LastError();
  }

  Error DeleteFile(const std::string& path) override {
    return DeleteFileA(path.c_str()) ? err::kSuccess : LastError();
  }

  Error CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
    return CopyFileA(from.c_str(), to.c_str(), failIfExists) ? err::kSuccess : LastError();
  }

  Error MoveFile(const std::string& from, const std::string& to, uint32_t flags) override {
    // A delayed move with no target deletes the file at the restart.
    const char* target = to.empty() && (flags & move::kDelayUntilReboot) ? nullptr : to.c_str();
    return MoveFileExA(from.c_str(), target, flags) ? err::kSuccess : LastError();
  }

  Result<std::string> CreateTempFile(const std::string& folder, const std::string& prefix) override {
    char name[MAX_PATH];
    if (!GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, name)) return Result<std::string>::Fail(LastError());
    return Result<std::string>::Ok(name);
  }

  Result<FileVersion> GetFileVersion(const std::string& path) override {
    using R = Result<FileVersion>;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return R::Fail(LastError());
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return R::Fail(LastError());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof *fixed)
      return R::Fail(ERROR_RESOURCE_DATA_NOT_FOUND);
    return R::Ok(FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                             HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)});
  }

  Result<std::string> GetShortPath(const std::string& path) override {
    DWORD needed = GetShortPathNameA(path.c_str(), nullptr, 0);
    if (needed == 0) return Result<std::string>::Fail(LastError());
    std::vector<char> buffer(needed + 1, '\0');
    DWORD length = GetShortPathNameA(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return Result<std::string>::Fail(length ? err::kInsufficientBuffer : LastError());
    return Result<std::string>::Ok(std::string(buffer.data(), length));
  }

  Result<VolumeInfo> GetVolumeInfo(const std::string& root) override {
    char label[MAX_PATH + 1] = {};
    char fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0, longestName = 0, flags = 0;
    if (!GetVolumeInformationA(root.c_str(), label, sizeof label, &serial, &longestName, &flags, fileSystem,
                               sizeof fileSystem))
      return Result<VolumeInfo>::Fail(LastError());
    return Result<VolumeInfo>::Ok(VolumeInfo{fileSystem, label, serial});
  }

  Result<DiskSpace> GetDiskSpace(const std::string& folder) override {
    ULARGE_INTEGER freeToCaller, total, totalFree;
    if (!GetDiskFreeSpaceExA(folder.c_str(), &freeToCaller, &total, &totalFree))
      return Result<DiskSpace>::Fail(LastError());
    return Result<DiskSpace>::Ok(DiskSpace{freeToCaller.QuadPart, total.QuadPart, totalFree.QuadPart});
  }

  Result<ClusterInfo> GetClusterInfo(const std::string& root) override {
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
      return Result<ClusterInfo>::Fail(LastError());
    return Result<ClusterInfo>::Ok(ClusterInfo{sectorsPerCluster, bytesPerSector});
  }
};

}  // namespace

Files& Win32Files() {
  static Win32FilesImpl instance;
  return instance;
}

}  // namespace sys::win32
