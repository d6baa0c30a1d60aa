#include "fakes/fake_clock.h"

#include <chrono>

namespace fakes {

namespace {
constexpr uint64_t kTicksPerMillisecond = 10000;
constexpr uint64_t kTicksPerDay = 86400ull * 1000 * kTicksPerMillisecond;
// Days from 1601-01-01 to 1970-01-01.
constexpr int64_t kDaysFrom1601To1970 = 134774;
}  // namespace

uint64_t FileTimeOf(const sys::LocalTime& t) {
  std::chrono::sys_days date = std::chrono::year_month_day{std::chrono::year{t.year}, std::chrono::month{t.month},
                                                          std::chrono::day{t.day}};
  int64_t days = date.time_since_epoch().count() + kDaysFrom1601To1970;
  uint64_t ms = ((static_cast<uint64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
  return static_cast<uint64_t>(days) * kTicksPerDay + ms * kTicksPerMillisecond;
}

sys::LocalTime LocalTimeOf(uint64_t fileTime) {
  int64_t days = static_cast<int64_t>(fileTime / kTicksPerDay);
  uint64_t ms = (fileTime % kTicksPerDay) / kTicksPerMillisecond;
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

FakeClock::FakeClock() {
  sys::LocalTime start;
  start.year = 2026;
  start.month = 12;
  start.day = 5;
  start.hour = 10;
  fileTime_ = FileTimeOf(start);
  ticks_ = 1000000;
}

uint32_t FakeClock::TickCount() { return ticks_; }
sys::LocalTime FakeClock::Now() { return LocalTimeOf(fileTime_); }
uint64_t FakeClock::NowFileTime() { return fileTime_; }

void FakeClock::Sleep(uint32_t milliseconds) {
  Advance(milliseconds);
}

void FakeClock::Advance(uint64_t milliseconds) {
  fileTime_ += milliseconds * kTicksPerMillisecond;
  ticks_ = static_cast<uint32_t>(ticks_ + milliseconds);  // wraps like GetTickCount
}

void FakeClock::SetNow(const sys::LocalTime& time) { fileTime_ = FileTimeOf(time); }

}  // namespace fakes
