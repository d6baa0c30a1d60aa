#pragma once
// List dates against file times. A list date is local time; a file time is UTC in
// 100-nanosecond units since 1601. The comparison is loose on purpose: FAT volumes keep
// times in two-second steps and daylight-saving time shifts a time by an hour.
#include <cstdint>
#include <optional>
#include <string_view>

#include "sys/clock.h"

// SystemTimeToFileTime: empty when a field is out of range (month 13, 30 February ...).
std::optional<uint64_t> FileTimeFromSystemTime(const sys::LocalTime& time);

// "DD-MM-YYYY hh:mm:ss" (local time, read as the C library reads "%02hu-%02hu-%04hu
// %02hu:%02hu:%02hu": fields it cannot read stay 0) as a UTC file time; 0 when the
// text does not make a valid time.
uint64_t ParseListDate(std::string_view text);

// -1, 0 or 1 as A is earlier than, equal to or later than B, where whole-second
// differences of 1-3 s and of 3597-3603 s count as equal.
int CompareFileTimesLoosely(uint64_t a, uint64_t b);
