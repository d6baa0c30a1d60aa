#include "fakes/fake_clock.h"

namespace fakes {

namespace {
constexpr uint64_t kTicksPerMillisecond = 10000;
constexpr uint64_t kTicksPerDay = 86400ull * 1000 * kTicksPerMillisecond;
// Days from 1601-01-01 to 1970-01-01.
constexpr int64_t kDaysFrom1601To1970 = 134774;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}
}  // namespace

uint64_t FileTimeOf(const sys::LocalTime& t) {
  int64_t days = DaysFromCivil(t.year, t.month, t.day) + kDaysFrom1601To1970;
  uint64_t ms = ((static_cast<uint64_t>(t.hour) * 60 + t.minute) * 60 + t.second) * 1000 + t.milliseconds;
  return static_cast<uint64_t>(days) * kTicksPerDay + ms * kTicksPerMillisecond;
}

sys::LocalTime LocalTimeOf(uint64_t fileTime) {
  int64_t days = static_cast<int64_t>(fileTime / kTicksPerDay);
  uint64_t ms = (fileTime % kTicksPerDay) / kTicksPerMillisecond;
  int64_t year = 0;
  unsigned month = 0, day = 0;
  CivilFromDays(days - kDaysFrom1601To1970, year, month, day);
  sys::LocalTime t;
  t.year = static_cast<uint16_t>(year);
  t.month = static_cast<uint16_t>(month);
  t.day = static_cast<uint16_t>(day);
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
  ++sleepCalls;
  sleptMilliseconds += milliseconds;
  Advance(milliseconds);
}

void FakeClock::Advance(uint64_t milliseconds) {
  fileTime_ += milliseconds * kTicksPerMillisecond;
  ticks_ = static_cast<uint32_t>(ticks_ + milliseconds);  // wraps like GetTickCount
}

void FakeClock::SetNow(const sys::LocalTime& time) { fileTime_ = FileTimeOf(time); }

}  // namespace fakes
