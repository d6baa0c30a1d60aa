#include "filelist/filelist.h"

#include <limits>

#include "session/session.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

}  // namespace

void ListRecordSplitter::Feed(std::string_view block, std::vector<std::string>& records) {
  for (char c : block) {
    if (c == kListDroppedByte) continue;
    if (c == kListRecordEnd) {
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
  for (char c : block) count += (c == kListRecordEnd) ? 1 : 0;
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

FileEntry ParseFileListRecord(std::string_view record, int32_t installMode) {
  const std::vector<std::string_view> fields = SplitListFields(record);
  auto field = [&](std::size_t n) { return n < fields.size() ? fields[n] : std::string_view(); };

  FileEntry entry;
  entry.itemCode = field(listfield::kItemCode);
  entry.itemRelease = field(listfield::kItemRelease);
  entry.fileName = field(listfield::kFileName);
  entry.size = ParseListNumber(field(listfield::kSize));
  entry.date = field(listfield::kDate);
  entry.folder = field(listfield::kFolder);
  entry.registrationKind = ParseListNumber(field(listfield::kRegistrationKind));
  if (IsInternetMode(installMode)) entry.cabSize = ParseListNumber(field(listfield::kCabSize));
  entry.version = field(listfield::kVersion);
  entry.digest = field(listfield::kDigest);
  entry.placeCut = field(listfield::kFolder).size() > entry.folder.kMaxLength ||
                   field(listfield::kFileName).size() > entry.fileName.kMaxLength;
  return entry;
}
