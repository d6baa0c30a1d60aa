#pragma once
// Manual time: nothing moves unless a test or a Sleep moves it. Local time is the same
// as UTC here.
#include <cstdint>

#include "sys/clock.h"

namespace fakes {

class FakeClock : public sys::Clock {
 public:
  FakeClock();

  uint32_t TickCount() override;
  sys::LocalTime Now() override;
  uint64_t NowFileTime() override;
  void Sleep(uint32_t milliseconds) override;

  // Moves time forward without a Sleep (a slow operation, another program's work).
  void Advance(uint64_t milliseconds);
  void SetNow(const sys::LocalTime& time);
  void SetTickCount(uint32_t ticks) { ticks_ = ticks; }

 private:
  uint64_t fileTime_ = 0;  // 100 ns since 1601
  uint32_t ticks_ = 0;
};

// FILETIME <-> calendar, for tests that set or read file times.
uint64_t FileTimeOf(const sys::LocalTime& time);
sys::LocalTime LocalTimeOf(uint64_t fileTime);

}  // namespace fakes
