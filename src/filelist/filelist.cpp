#include "filelist/filelist.h"

#include <limits>

#include "session/session.h"

namespace {

constexpr char kRecordEnd = '\r';
constexpr char kDropped = '\n';
constexpr char kFieldSeparator = '\t';

// Field numbers of the list.
constexpr std::size_t kFieldItemCode = 0;
constexpr std::size_t kFieldItemRelease = 1;
constexpr std::size_t kFieldFileName = 2;
constexpr std::size_t kFieldSize = 3;
constexpr std::size_t kFieldDate = 4;
constexpr std::size_t kFieldFolder = 5;
constexpr std::size_t kFieldRegistrationKind = 6;
constexpr std::size_t kFieldCabSize = 11;
constexpr std::size_t kFieldVersion = 12;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

}  // namespace

void ListRecordSplitter::Feed(std::string_view block, std::vector<std::string>& records) {
  for (char c : block) {
    if (c == kDropped) continue;
    if (c == kRecordEnd) {
      records.push_back(std::move(pending_));
      pending_.clear();
      continue;
    }
    if (pending_.size() < kMaxListRecordBytes) pending_.push_back(c);
  }
}

std::vector<std::string> SplitListRecords(std::string_view text) {
  std::vector<std::string> records;
  ListRecordSplitter splitter;
  splitter.Feed(text, records);
  return records;
}

uint32_t CountListRecords(std::string_view block) {
  uint32_t count = 0;
  for (char c : block) count += (c == kRecordEnd) ? 1 : 0;
  return count;
}

int32_t ParseListNumber(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && IsBlank(field[i])) ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
    negative = field[i] == '-';
    ++i;
  }
  // Accumulate as a negative number so that the lowest value fits exactly.
  constexpr int64_t kLowest = std::numeric_limits<int32_t>::min();
  constexpr int64_t kHighest = std::numeric_limits<int32_t>::max();
  int64_t value = 0;
  for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
    value = value * 10 - (field[i] - '0');
    if (value < kLowest) {
      value = kLowest - 1;  // saturated; stays below the limit however many digits follow
      break;
    }
  }
  if (negative) return value < kLowest ? static_cast<int32_t>(kLowest) : static_cast<int32_t>(value);
  return -value > kHighest ? static_cast<int32_t>(kHighest) : static_cast<int32_t>(-value);
}

std::vector<std::string_view> SplitListFields(std::string_view record) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    std::size_t tab = record.find(kFieldSeparator, start);
    if (tab == std::string_view::npos) {
      fields.push_back(record.substr(start));
      return fields;
    }
    fields.push_back(record.substr(start, tab - start));
    start = tab + 1;
  }
}

FileEntry ParseFileListRecord(std::string_view record, int32_t installMode) {
  const std::vector<std::string_view> fields = SplitListFields(record);
  auto field = [&](std::size_t n) { return n < fields.size() ? fields[n] : std::string_view(); };

  FileEntry entry;
  entry.itemCode = field(kFieldItemCode);
  entry.itemRelease = field(kFieldItemRelease);
  entry.fileName = field(kFieldFileName);
  entry.size = ParseListNumber(field(kFieldSize));
  entry.date = field(kFieldDate);
  entry.folder = field(kFieldFolder);
  entry.registrationKind = ParseListNumber(field(kFieldRegistrationKind));
  if (IsInternetMode(installMode)) entry.cabSize = ParseListNumber(field(kFieldCabSize));
  entry.version = field(kFieldVersion);
  entry.placeCut = field(kFieldFolder).size() > entry.folder.kMaxLength ||
                   field(kFieldFileName).size() > entry.fileName.kMaxLength;
  return entry;
}
