#include "sys/win32/clock.h"

#include "sys/win32/winapi.h"

namespace sys::win32 {

namespace {

class Win32ClockImpl final : public Clock {
 public:
  uint32_t TickCount() override { return GetTickCount(); }

  LocalTime Now() override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDayOfWeek, now.wDay,
                     now.wHour, now.wMinute, now.wSecond,   now.wMilliseconds};
  }

  uint64_t NowFileTime() override {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  }

  void Sleep(uint32_t milliseconds) override { ::Sleep(milliseconds); }
};

}  // namespace

Clock& Win32Clock() {
  static Win32ClockImpl clock;
  return clock;
}

}  // namespace sys::win32
