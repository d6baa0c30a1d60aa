#pragma once
// The disk-space table of a run: how many bytes the run will write on each volume, and
// the check that asks the user when a volume has too little room.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "sys/desktop.h"

struct RequiredSpaceRow {
  std::string volumeKey;  // "C:" or "\\server\share"; empty marks the end of the table
  uint64_t bytes = 0;
};

constexpr std::size_t kRequiredSpaceRows = 10;
using RequiredSpaceTable = std::array<RequiredSpaceRow, kRequiredSpaceRows>;

// Volumes needing this many bytes or fewer are never checked (one hundred thousand bytes).
constexpr uint64_t kUncheckedSpace = 100000;

// Empties the table (the analysis does this before it counts).
void ClearRequiredSpace();
// Adds `bytes` to the row of the path's volume; paths on no drive or share are not counted.
void AddRequiredSpace(std::string_view path, uint64_t bytes);
const RequiredSpaceTable& RequiredSpace();

// The shortfall lines for every volume whose free space is less than it needs, empty
// when all fit or the system cannot tell free space.
std::string DescribeSpaceShortfalls();

// 1 to continue, 0 when a volume lacks room and the user answered No (a silent run does).
int CheckDiskSpace(sys::WindowId owner, const std::string& caption);
