#pragma once
// Manual time: nothing moves unless a test or a Sleep moves it. Local time is UTC here.
#include <chrono>
#include <cstdint>

#include "sys/clock.h"

namespace fakes {

inline constexpr uint64_t kFileTimePerMillisecond = 10000;
inline constexpr uint64_t kFileTimePerDay = 86400000ull * kFileTimePerMillisecond;
inline constexpr int64_t kDaysFrom1601To1970 = 134774;

// FILETIME <-> calendar, for tests that set or read file times.
inline uint64_t FileTimeOf(const sys::LocalTime& t) {
  std::chrono::sys_days date = std::chrono::year_month_day{std::chrono::year{t.year}, std::chrono::month{t.month},
                                                          std::chrono::day{t.day}};
  uint64_t days = date.time_since_epoch().count() + kDaysFrom1601To1970;
  uint64_t ms = ((static_cast<uint64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
  return days * kFileTimePerDay + ms * kFileTimePerMillisecond;
}

inline sys::LocalTime LocalTimeOf(uint64_t fileTime) {
  auto days = static_cast<int64_t>(fileTime / kFileTimePerDay);
  uint64_t ms = fileTime % kFileTimePerDay / kFileTimePerMillisecond;
  std::chrono::year_month_day date{std::chrono::sys_days{std::chrono::days{days - kDaysFrom1601To1970}}};
  sys::LocalTime t;
  t.year = static_cast<uint16_t>(static_cast<int>(date.year()));
  t.month = static_cast<uint16_t>(static_cast<unsigned>(date.month()));
  t.day = static_cast<uint16_t>(static_cast<unsigned>(date.day()));
  t.dayOfWeek = static_cast<uint16_t>((days + 1) % 7);  // 1601-01-01 was a Monday
  t.hour = static_cast<uint16_t>(ms / 3600000);
  t.minute = static_cast<uint16_t>(ms / 60000 % 60);
  t.second = static_cast<uint16_t>(ms / 1000 % 60);
  t.milliseconds = static_cast<uint16_t>(ms % 1000);
  return t;
}

class FakeClock : public sys::Clock {
 public:
  uint32_t TickCount() override { return ticks_; }
  sys::LocalTime Now() override { return LocalTimeOf(fileTime_); }
  uint64_t NowFileTime() override { return fileTime_; }
  void Sleep(uint32_t milliseconds) override { Advance(milliseconds); }

  // Moves time forward without a Sleep (a slow operation, another program's work).
  void Advance(uint64_t milliseconds) {
    fileTime_ += milliseconds * kFileTimePerMillisecond;
    ticks_ = static_cast<uint32_t>(ticks_ + milliseconds);  // wraps like GetTickCount
  }
  void SetNow(const sys::LocalTime& time) { fileTime_ = FileTimeOf(time); }
  void SetTickCount(uint32_t ticks) { ticks_ = ticks; }

 private:
  uint64_t fileTime_ = FileTimeOf(sys::LocalTime{2026, 12, 6, 5, 10});  // 100 ns since 1601
  uint32_t ticks_ = 1000000;
};

}  // namespace fakes
