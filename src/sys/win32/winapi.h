#pragma once
// <windows.h> and the shell headers for the adapter, with the A/W macros removed that
// would rename the seam's own methods (MessageBox, DeleteFile, LoadString …), and an
// owning handle. Include this before any other system header.
#include <windows.h>
// Needs <windows.h> first.
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef GetCommandLine
#undef GetComputerName
#undef GetUserName
#undef LoadString
#undef MessageBox
#undef MoveFile
#undef RemoveDirectory
#undef ShellExecute

namespace sys::win32 {

// Closes a kernel handle when it goes out of scope.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = nullptr) : handle_(handle) {}
  ~UniqueHandle() {
    if (valid()) CloseHandle(handle_);
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

}  // namespace sys::win32
