#pragma once
// While a component is loaded or started for registration, a missing disk or a broken
// file must fail the call instead of stopping the installer with a system error box.
#include <cstdint>

#include "sys/os.h"
#include "sys/processes.h"

class QuietErrorModeScope {
 public:
  QuietErrorModeScope()
      : previous_(sys::os().processes->SetErrorMode(sys::errormode::kFailCriticalErrors |
                                                     sys::errormode::kNoOpenFileErrorBox)) {}
  ~QuietErrorModeScope() { sys::os().processes->SetErrorMode(previous_); }
  QuietErrorModeScope(const QuietErrorModeScope&) = delete;
  QuietErrorModeScope& operator=(const QuietErrorModeScope&) = delete;

 private:
  uint32_t previous_;
};
