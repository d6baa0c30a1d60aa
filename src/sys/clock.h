#pragma once
// Time: every wait and every retry pause goes through here, so tests run instantly.
#include <cstdint>

namespace sys {

// SYSTEMTIME's fields.
struct LocalTime {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t dayOfWeek = 0;
  uint16_t day = 0;
  uint16_t hour = 0;
  uint16_t minute = 0;
  uint16_t second = 0;
  uint16_t milliseconds = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // GetTickCount: milliseconds since start, wrapping at 2^32.
  virtual uint32_t TickCount() = 0;
  virtual LocalTime Now() = 0;
  // The current time as FILETIME (UTC).
  virtual uint64_t NowFileTime() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
};

}  // namespace sys
