#pragma once
// The cabinet decoder's public face: a context made with the caller's memory and file
// callbacks, a header check, an extraction that reports each file to a notification
// handler, and the destroy operation. The shape follows the published cabinet
// decompression interface; the decoder itself needs nothing but the standard library.
#include <cstdint>

namespace cab {

// Error codes of the published interface (the error record's `code`).
namespace error {
constexpr int32_t kNone = 0;
constexpr int32_t kCabinetNotFound = 1;
constexpr int32_t kNotACabinet = 2;
constexpr int32_t kUnknownVersion = 3;
constexpr int32_t kCorruptCabinet = 4;
constexpr int32_t kOutOfMemory = 5;
constexpr int32_t kUnknownCompression = 6;
constexpr int32_t kDecompressionData = 7;
constexpr int32_t kTargetFile = 8;
constexpr int32_t kReserveMismatch = 9;
constexpr int32_t kWrongCabinet = 10;
constexpr int32_t kUserAbort = 11;
}  // namespace error

// Short English reason for an error code (for tools and logs).
const char* ErrorText(int32_t code);

struct CabinetError {
  int32_t code = error::kNone;
  int32_t type = 0;
  bool flag = false;
};

// Open flags the decoder passes to the open callback: the runtime's values, so the
// Windows low-level functions take them as they are.
namespace openflag {
constexpr int kReadOnly = 0x0000;
constexpr int kWriteOnly = 0x0001;
constexpr int kCreate = 0x0100;
constexpr int kTruncate = 0x0200;
constexpr int kSequential = 0x0020;
constexpr int kBinary = 0x8000;
}  // namespace openflag
// Seek origins.
constexpr int kSeekSet = 0;
constexpr int kSeekCurrent = 1;
constexpr int kSeekEnd = 2;

// File handles are small integers; -1 is a failure. A read or write returns the
// count it moved, or (uint32_t)-1 on failure; a short read means the end of the file.
using AllocFn = void* (*)(uint32_t size);
using FreeFn = void (*)(void* block);
using OpenFn = intptr_t (*)(const char* path, int flags, int mode);
using ReadFn = uint32_t (*)(intptr_t handle, void* buffer, uint32_t count);
using WriteFn = uint32_t (*)(intptr_t handle, const void* buffer, uint32_t count);
using CloseFn = int (*)(intptr_t handle);
using SeekFn = int32_t (*)(intptr_t handle, int32_t offset, int origin);

struct Callbacks {
  AllocFn alloc = nullptr;
  FreeFn free = nullptr;
  OpenFn open = nullptr;
  ReadFn read = nullptr;
  WriteFn write = nullptr;
  CloseFn close = nullptr;
  SeekFn seek = nullptr;
};

// What the header check reports.
struct CabinetInfo {
  int32_t cabinetLength = 0;
  uint16_t folderCount = 0;
  uint16_t fileCount = 0;
  uint16_t setId = 0;
  uint16_t setIndex = 0;
  bool hasReserve = false;
  bool hasPrevious = false;
  bool hasNext = false;
};

// Notification kinds and their record, in the published order.
namespace notify {
constexpr int kCabinetInfo = 0;
constexpr int kPartialFile = 1;
constexpr int kCopyFile = 2;
constexpr int kCloseFile = 3;
constexpr int kNextCabinet = 4;
constexpr int kEnumerate = 5;
}  // namespace notify

struct Notification {
  int32_t size = 0;            // copy: the file's size; close: 1 when the file runs after extraction
  const char* text1 = nullptr;  // copy/close/partial: the file name; cabinet info/next: next cabinet name
  const char* text2 = nullptr;  // cabinet info/next: next disk name; partial: first cabinet name
  const char* text3 = nullptr;  // cabinet info/next: the cabinet folder
  void* user = nullptr;
  intptr_t handle = 0;          // close: the handle the copy notification returned
  uint16_t date = 0;
  uint16_t time = 0;
  uint16_t attributes = 0;
  uint16_t setId = 0;
  uint16_t cabinetIndex = 0;
  uint16_t folderIndex = 0;
  int32_t errorCode = 0;        // next cabinet: why it is asked for
};

// Copy: returns a handle to write to, 0 to skip the file, -1 to abort.
// Close: returns non-zero to go on, 0 to abort. Others: 0 to go on, -1 to abort.
using NotifyFn = intptr_t (*)(int kind, Notification* record);
using DecryptFn = int (*)(void* record);

constexpr int kCpu80386 = 1;

struct Context;

// Context or nullptr (error record: out of memory, or a missing callback).
Context* CabinetContextCreate(const Callbacks& callbacks, int cpuKind, CabinetError* errorRecord);
// Reads the header from the start of `handle`; true for "MSCF" version 1.3.
bool IsCabinetFile(Context* context, intptr_t handle, CabinetInfo* info);
// Opens folder+name and delivers every file through `handler`; false with the error
// record set when anything failed.
bool CabinetExtract(Context* context, const char* cabinetName, const char* cabinetFolder, int flags, NotifyFn handler,
                    DecryptFn decrypt, void* user);
bool CabinetContextDestroy(Context* context);

}  // namespace cab
