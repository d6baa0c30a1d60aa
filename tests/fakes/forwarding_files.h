#pragma once
// Files that pass every call on to another Files: derive from it and override the one
// call a test wants to change, then put it in front of the fake:
//
//   struct SlowCopy : fakes::ForwardingFiles {
//     using ForwardingFiles::ForwardingFiles;
//     sys::Error CopyFile(const std::string& f, const std::string& t, bool x) override { … }
//   } files{os.files};
//   sys::os().files = &files;   // FakeOs puts its own back when it ends
#include "sys/files.h"

namespace fakes {

class ForwardingFiles : public sys::Files {
 public:
  explicit ForwardingFiles(sys::Files& inner) : inner_(inner) {}

  sys::Result<uint32_t> GetAttributes(const std::string& path) override { return inner_.GetAttributes(path); }
  sys::Error SetAttributes(const std::string& path, uint32_t attributes) override {
    return inner_.SetAttributes(path, attributes);
  }
  sys::Result<sys::FileHandle> Open(const std::string& path, sys::FileAccess access, uint32_t shareMode,
                                    sys::Disposition disposition) override {
    return inner_.Open(path, access, shareMode, disposition);
  }
  sys::Result<uint32_t> Read(sys::FileHandle file, void* buffer, uint32_t size) override {
    return inner_.Read(file, buffer, size);
  }
  sys::Result<uint32_t> Write(sys::FileHandle file, const void* buffer, uint32_t size) override {
    return inner_.Write(file, buffer, size);
  }
  sys::Result<uint64_t> Seek(sys::FileHandle file, int64_t offset, sys::SeekFrom from) override {
    return inner_.Seek(file, offset, from);
  }
  sys::Result<uint64_t> GetSize(sys::FileHandle file) override { return inner_.GetSize(file); }
  sys::Error SetEndOfFile(sys::FileHandle file) override { return inner_.SetEndOfFile(file); }
  sys::Result<sys::FileTimes> GetTimes(sys::FileHandle file) override { return inner_.GetTimes(file); }
  sys::Error SetTimes(sys::FileHandle file, const sys::FileTimes& times) override {
    return inner_.SetTimes(file, times);
  }
  sys::Error Close(sys::FileHandle file) override { return inner_.Close(file); }
  sys::Result<std::vector<sys::FindEntry>> Find(const std::string& pattern) override { return inner_.Find(pattern); }
  sys::Error CreateDirectory(const std::string& path) override { return inner_.CreateDirectory(path); }
  sys::Error RemoveDirectory(const std::string& path) override { return inner_.RemoveDirectory(path); }
  sys::Error DeleteFile(const std::string& path) override { return inner_.DeleteFile(path); }
  sys::Error CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
    return inner_.CopyFile(from, to, failIfExists);
  }
  sys::Error MoveFile(const std::string& from, const std::string& to, uint32_t flags) override {
    return inner_.MoveFile(from, to, flags);
  }
  sys::Result<std::string> CreateTempFile(const std::string& folder, const std::string& prefix) override {
    return inner_.CreateTempFile(folder, prefix);
  }
  sys::Result<sys::FileVersion> GetFileVersion(const std::string& path) override { return inner_.GetFileVersion(path); }
  sys::Result<std::string> GetShortPath(const std::string& path) override { return inner_.GetShortPath(path); }
  sys::Result<sys::VolumeInfo> GetVolumeInfo(const std::string& root) override { return inner_.GetVolumeInfo(root); }
  sys::Result<sys::DiskSpace> GetDiskSpace(const std::string& folder) override { return inner_.GetDiskSpace(folder); }
  sys::Result<sys::ClusterInfo> GetClusterInfo(const std::string& root) override {
    return inner_.GetClusterInfo(root);
  }

 protected:
  sys::Files& inner_;
};

}  // namespace fakes
