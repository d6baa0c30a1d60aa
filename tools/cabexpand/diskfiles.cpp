#include "diskfiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// The Win32 error closest to errno, for the few cases the expansion meets.
sys::Error ErrorOf(int error) {
  switch (error) {
    case ENOENT: return sys::err::kFileNotFound;
    case ENOTDIR: return sys::err::kPathNotFound;
    case EACCES: return sys::err::kAccessDenied;
    case EEXIST: return sys::err::kFileExists;
    case ENOSPC: return sys::err::kDiskFull;
    case EBADF: return sys::err::kInvalidHandle;
    default: return sys::err::kInvalidParameter;
  }
}

int FlagsOf(sys::FileAccess access, sys::Disposition disposition) {
  int flags = access == sys::FileAccess::Read ? O_RDONLY : access == sys::FileAccess::Write ? O_WRONLY : O_RDWR;
  switch (disposition) {
    case sys::Disposition::CreateNew: return flags | O_CREAT | O_EXCL;
    case sys::Disposition::CreateAlways: return flags | O_CREAT | O_TRUNC;
    case sys::Disposition::OpenAlways: return flags | O_CREAT;
    case sys::Disposition::TruncateExisting: return flags | O_TRUNC;
    case sys::Disposition::OpenExisting: return flags;
  }
  return flags;
}

// Descriptors are kept one above their number, since handle 0 means none.
int Descriptor(sys::FileHandle file) { return static_cast<int>(file.id) - 1; }

}  // namespace

sys::Result<uint32_t> DiskFiles::GetAttributes(const std::string& path) {
  struct stat facts {};
  if (::stat(path.c_str(), &facts) != 0) return sys::Result<uint32_t>::Fail(ErrorOf(errno));
  return sys::Result<uint32_t>::Ok(S_ISDIR(facts.st_mode) ? sys::attr::kDirectory : sys::attr::kNormal);
}

sys::Result<sys::FileHandle> DiskFiles::Open(const std::string& path, sys::FileAccess access, uint32_t,
                                             sys::Disposition disposition) {
  int fd = ::open(path.c_str(), FlagsOf(access, disposition) | O_CLOEXEC, 0666);
  if (fd < 0) return sys::Result<sys::FileHandle>::Fail(ErrorOf(errno));
  return sys::Result<sys::FileHandle>::Ok(sys::FileHandle{static_cast<uint64_t>(fd) + 1});
}

sys::Result<uint32_t> DiskFiles::Read(sys::FileHandle file, void* buffer, uint32_t size) {
  ssize_t got = ::read(Descriptor(file), buffer, size);
  if (got < 0) return sys::Result<uint32_t>::Fail(ErrorOf(errno));
  return sys::Result<uint32_t>::Ok(static_cast<uint32_t>(got));
}

sys::Result<uint32_t> DiskFiles::Write(sys::FileHandle file, const void* buffer, uint32_t size) {
  ssize_t written = ::write(Descriptor(file), buffer, size);
  if (written < 0) return sys::Result<uint32_t>::Fail(ErrorOf(errno));
  if (static_cast<uint32_t>(written) < size) return sys::Result<uint32_t>::Fail(sys::err::kDiskFull);
  return sys::Result<uint32_t>::Ok(static_cast<uint32_t>(written));
}

sys::Result<uint64_t> DiskFiles::Seek(sys::FileHandle file, int64_t offset, sys::SeekFrom from) {
  int whence = from == sys::SeekFrom::Begin ? SEEK_SET : from == sys::SeekFrom::Current ? SEEK_CUR : SEEK_END;
  off_t position = ::lseek(Descriptor(file), offset, whence);
  if (position < 0) return sys::Result<uint64_t>::Fail(ErrorOf(errno));
  return sys::Result<uint64_t>::Ok(static_cast<uint64_t>(position));
}

sys::Result<uint64_t> DiskFiles::GetSize(sys::FileHandle file) {
  struct stat facts {};
  if (::fstat(Descriptor(file), &facts) != 0) return sys::Result<uint64_t>::Fail(ErrorOf(errno));
  return sys::Result<uint64_t>::Ok(static_cast<uint64_t>(facts.st_size));
}

sys::Error DiskFiles::Close(sys::FileHandle file) {
  return ::close(Descriptor(file)) == 0 ? sys::err::kSuccess : ErrorOf(errno);
}
