#pragma once
// The cabinet decoder's file callbacks over the system's files: a decoder handle is the
// seam's handle number, -1 a failure.
#include <cstdint>

#include "cabinet/cabinet.h"

namespace cabinetfiles {

// Opens with the decoder's flags: write-only or read-only, created when asked, cut when
// asked. Others may read and write the file meanwhile, as with the runtime's own open.
intptr_t Open(const char* path, int flags, int mode);
uint32_t Read(intptr_t handle, void* buffer, uint32_t count);
uint32_t Write(intptr_t handle, const void* buffer, uint32_t count);
int Close(intptr_t handle);
int32_t Seek(intptr_t handle, int32_t offset, int origin);

// The callbacks above with the process heap for memory.
cab::Callbacks Callbacks();

}  // namespace cabinetfiles
