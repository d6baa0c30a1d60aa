#include "filelist/listdate.h"

#include <array>

#include "sys/os.h"

namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;
constexpr int64_t kTicksPerMinute = 60 * static_cast<int64_t>(kTicksPerSecond);
constexpr uint64_t kSecondsPerDay = 86'400;
constexpr uint16_t kFirstYear = 1601;
constexpr uint16_t kLastYear = 30827;

bool IsLeapYear(uint32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

uint32_t DaysInMonth(uint32_t year, uint32_t month) {
  constexpr std::array<uint32_t, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return (month == 2 && IsLeapYear(year)) ? 29 : kDays[month - 1];
}

// Days from 1 January 1601 to the first of the given month.
uint64_t DaysBefore(uint32_t year, uint32_t month) {
  const uint64_t yearsBefore = year - kFirstYear;
  uint64_t days = yearsBefore * 365 + yearsBefore / 4 - yearsBefore / 100 + yearsBefore / 400;
  for (uint32_t m = 1; m < month; ++m) days += DaysInMonth(year, m);
  return days;
}

// The scanf reading of one "%0Nhu": blanks skipped, an optional sign and up to `width`
// characters of sign and digits, wrapped to 16 bits. Empty when no digit is there.
std::optional<uint16_t> ScanUnsignedShort(std::string_view text, std::size_t& at, std::size_t width) {
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\v' || text[at] == '\f'))
    ++at;
  std::size_t used = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
    ++used;
  }
  uint32_t value = 0;
  std::size_t digits = 0;
  while (used < width && at < text.size() && text[at] >= '0' && text[at] <= '9') {
    value = value * 10 + static_cast<uint32_t>(text[at] - '0');
    ++at;
    ++used;
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return static_cast<uint16_t>(negative ? 0u - value : value);
}

// The list date's fields in the order of the text; stops at the first that does not read.
sys::LocalTime ScanListDate(std::string_view text) {
  struct Step {
    uint16_t sys::LocalTime::*field;
    std::size_t width;
    char literalAfter;  // 0: none; ' ' matches any run of blanks
  };
  constexpr std::array<Step, 6> kSteps = {{
      {&sys::LocalTime::day, 2, '-'},
      {&sys::LocalTime::month, 2, '-'},
      {&sys::LocalTime::year, 4, ' '},
      {&sys::LocalTime::hour, 2, ':'},
      {&sys::LocalTime::minute, 2, ':'},
      {&sys::LocalTime::second, 2, 0},
  }};
  sys::LocalTime time;
  std::size_t at = 0;
  for (const Step& step : kSteps) {
    std::optional<uint16_t> value = ScanUnsignedShort(text, at, step.width);
    if (!value) break;
    time.*step.field = *value;
    if (step.literalAfter == ' ') {
      while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    } else if (step.literalAfter != 0) {
      if (at >= text.size() || text[at] != step.literalAfter) break;
      ++at;
    }
  }
  return time;
}

// LocalFileTimeToFileTime uses the bias in force now, not the one of the date converted;
// it is the distance between the local and the UTC clock, to the nearest minute.
int64_t CurrentLocalBias() {
  sys::Clock& clock = *sys::os().clock;
  const std::optional<uint64_t> localNow = FileTimeFromSystemTime(clock.Now());
  const uint64_t utcNow = clock.NowFileTime();
  if (!localNow) return 0;
  const int64_t raw = static_cast<int64_t>(*localNow - utcNow);
  const int64_t half = kTicksPerMinute / 2;
  return (raw >= 0 ? (raw + half) : (raw - half)) / kTicksPerMinute * kTicksPerMinute;
}

}  // namespace

std::optional<uint64_t> FileTimeFromSystemTime(const sys::LocalTime& time) {
  if (time.year < kFirstYear || time.year > kLastYear) return std::nullopt;
  if (time.month < 1 || time.month > 12) return std::nullopt;
  if (time.day < 1 || time.day > DaysInMonth(time.year, time.month)) return std::nullopt;
  if (time.hour > 23 || time.minute > 59 || time.second > 59 || time.milliseconds > 999) return std::nullopt;
  const uint64_t days = DaysBefore(time.year, time.month) + (time.day - 1);
  const uint64_t seconds = days * kSecondsPerDay + time.hour * 3600u + time.minute * 60u + time.second;
  return seconds * kTicksPerSecond + time.milliseconds * 10'000u;
}

uint64_t ParseListDate(std::string_view text) {
  const std::optional<uint64_t> local = FileTimeFromSystemTime(ScanListDate(text));
  if (!local) return 0;
  const int64_t bias = CurrentLocalBias();
  if (bias > 0 && *local < static_cast<uint64_t>(bias)) return 0;  // before 1601 in UTC
  return *local - static_cast<uint64_t>(bias);
}

int CompareFileTimesLoosely(uint64_t a, uint64_t b) {
  const int64_t difference = static_cast<int64_t>(a - b);
  const int64_t seconds = difference / static_cast<int64_t>(kTicksPerSecond);
  const int64_t apart = seconds < 0 ? -seconds : seconds;
  const bool fatStep = apart >= 1 && apart <= 3;
  const bool daylightShift = apart >= 3597 && apart <= 3603;
  if (fatStep || daylightShift) return 0;
  return a < b ? -1 : (a > b ? 1 : 0);
}
