// The string loader, the append-format helper and the local-time text.
#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "session/log.h"
#include "sys/clock.h"
#include "sys/desktop.h"
#include "sys/os.h"

namespace {
constexpr std::size_t kLoadedTextCapacity = 512;  // the loader's buffer, NUL included
constexpr std::size_t kScratchCapacity = 2000;    // AppendFormat's buffer, NUL included
}  // namespace

std::string LoadText(uint32_t id) {
  sys::Desktop* desktop = sys::os().desktop;
  if (desktop == nullptr) return {};
  std::string text = desktop->LoadString(id);
  if (text.size() >= kLoadedTextCapacity) text.resize(kLoadedTextCapacity - 1);
  return text;
}

std::string& AppendFormat(std::string& target, const char* format, ...) {
  char scratch[kScratchCapacity];
  va_list values;
  va_start(values, format);
  int written = std::vsnprintf(scratch, sizeof scratch, format, values);
  va_end(values);
  if (written > 0) target.append(scratch, std::min<std::size_t>(static_cast<std::size_t>(written), kScratchCapacity - 1));
  return target;
}

std::string LocalTimeText() {
  sys::Clock* clock = sys::os().clock;
  sys::LocalTime now = clock != nullptr ? clock->Now() : sys::LocalTime{};
  char text[64];
  std::snprintf(text, sizeof text, "%02d-%02d-%d %02d:%02d:%02d", now.day, now.month, now.year, now.hour, now.minute,
                now.second);
  return text;
}
