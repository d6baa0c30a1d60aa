#pragma once
// Results across the OS seam carry the Win32 error number instead of exceptions.
#include <cstdint>
#include <utility>

namespace sys {

// A Win32 error number; 0 is success. The logic branches on these numbers.
using Error = uint32_t;

namespace err {
constexpr Error kSuccess = 0;
constexpr Error kFileNotFound = 2;
constexpr Error kPathNotFound = 3;
constexpr Error kAccessDenied = 5;
constexpr Error kInvalidHandle = 6;
constexpr Error kNotEnoughMemory = 8;
constexpr Error kWriteProtect = 19;
constexpr Error kSharingViolation = 32;
constexpr Error kLockViolation = 33;
constexpr Error kHandleEof = 38;
constexpr Error kFileExists = 80;
constexpr Error kCannotMake = 82;
constexpr Error kInvalidParameter = 87;
constexpr Error kDiskFull = 112;
constexpr Error kInsufficientBuffer = 122;
constexpr Error kInvalidName = 123;
constexpr Error kDirNotEmpty = 145;
constexpr Error kAlreadyExists = 183;
constexpr Error kMoreData = 234;
constexpr Error kNoMoreItems = 259;
constexpr Error kUserMappedFile = 1224;
constexpr Error kCancelled = 1223;
constexpr Error kInvalidSecurityDescriptor = 1338;
}  // namespace err

// A value or the error that prevented it. `value` is default-constructed on failure.
template <class T>
struct Result {
  Error error = err::kSuccess;
  T value{};

  bool ok() const { return error == err::kSuccess; }
  static Result Fail(Error e) { return Result{e, T{}}; }
  static Result Ok(T v) { return Result{err::kSuccess, std::move(v)}; }
};

}  // namespace sys
