#pragma once
// The system's files for the native tool: what the cabinet expansion needs (open, read,
// write, seek, close, sizes) over POSIX files; everything else is not supported (50).
#include "sys/files.h"

class DiskFiles : public sys::Files {
 public:
  sys::Result<uint32_t> GetAttributes(const std::string& path) override;
  sys::Error SetAttributes(const std::string&, uint32_t) override { return kNotSupported; }
  sys::Result<sys::FileHandle> Open(const std::string& path, sys::FileAccess access, uint32_t shareMode,
                                    sys::Disposition disposition) override;
  sys::Result<uint32_t> Read(sys::FileHandle file, void* buffer, uint32_t size) override;
  sys::Result<uint32_t> Write(sys::FileHandle file, const void* buffer, uint32_t size) override;
  sys::Result<uint64_t> Seek(sys::FileHandle file, int64_t offset, sys::SeekFrom from) override;
  sys::Result<uint64_t> GetSize(sys::FileHandle file) override;
  sys::Error SetEndOfFile(sys::FileHandle) override { return kNotSupported; }
  sys::Result<sys::FileTimes> GetTimes(sys::FileHandle) override { return Unsupported<sys::FileTimes>(); }
  sys::Error SetTimes(sys::FileHandle, const sys::FileTimes&) override { return kNotSupported; }
  sys::Error Close(sys::FileHandle file) override;
  sys::Result<sys::FileHandle> CreateLockFile(const std::string&) override { return Unsupported<sys::FileHandle>(); }
  sys::Result<std::vector<sys::FindEntry>> Find(const std::string&) override {
    return Unsupported<std::vector<sys::FindEntry>>();
  }
  sys::Error CreateDirectory(const std::string&) override { return kNotSupported; }
  sys::Error RemoveDirectory(const std::string&) override { return kNotSupported; }
  sys::Error DeleteFile(const std::string&) override { return kNotSupported; }
  sys::Error CopyFile(const std::string&, const std::string&, bool) override { return kNotSupported; }
  sys::Error MoveFile(const std::string&, const std::string&, uint32_t) override { return kNotSupported; }
  sys::Result<std::string> CreateTempFile(const std::string&, const std::string&) override {
    return Unsupported<std::string>();
  }
  sys::Result<sys::FileVersion> GetFileVersion(const std::string&) override { return Unsupported<sys::FileVersion>(); }
  // POSIX paths have no short form: the path as it is.
  sys::Result<std::string> GetShortPath(const std::string& path) override { return sys::Result<std::string>::Ok(path); }
  sys::Result<sys::VolumeInfo> GetVolumeInfo(const std::string&) override { return Unsupported<sys::VolumeInfo>(); }
  sys::Result<sys::DiskSpace> GetDiskSpace(const std::string&) override { return Unsupported<sys::DiskSpace>(); }
  sys::Result<sys::ClusterInfo> GetClusterInfo(const std::string&) override { return Unsupported<sys::ClusterInfo>(); }

 private:
  static constexpr sys::Error kNotSupported = 50;
  template <class T>
  static sys::Result<T> Unsupported() {
    return sys::Result<T>::Fail(kNotSupported);
  }
};
