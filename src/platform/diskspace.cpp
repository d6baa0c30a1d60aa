#include "platform/diskspace.h"

#include <cstdio>
#include <limits>

#include "platform/volumes.h"
#include "session/log.h"
#include "session/textids.h"
#include "sys/os.h"
#include "sys/paths.h"
#include "sys/systeminfo.h"

namespace {

RequiredSpaceTable table;

// Bytes as kilobytes with two decimals in the user's number format.
std::string Kilobytes(uint64_t bytes) {
  char number[48];
  std::snprintf(number, sizeof number, "%.2f", static_cast<double>(bytes) / 1024.0);
  sys::SystemInfo* info = sys::os().systemInfo;
  return info != nullptr ? info->FormatNumber(number, 2) : std::string(number);
}

}  // namespace

void ClearRequiredSpace() { table = RequiredSpaceTable{}; }

const RequiredSpaceTable& RequiredSpace() { return table; }

void AddRequiredSpace(std::string_view path, uint64_t bytes) {
  std::string key = VolumeKey(path);
  if (key.empty()) return;
  for (RequiredSpaceRow& row : table) {
    if (row.volumeKey.empty()) row.volumeKey = key;
    if (!sys::EqualsNoCase(row.volumeKey, key)) continue;
    // Sizes come from the file list; a hostile one must not wrap the sum round to "little".
    uint64_t room = std::numeric_limits<uint64_t>::max() - row.bytes;
    row.bytes += bytes < room ? bytes : room;
    return;
  }
  WriteLog("Disk space table full, %s not counted", key.c_str());
}

std::string DescribeSpaceShortfalls() {
  sys::SystemInfo* info = sys::os().systemInfo;
  if (info == nullptr) return {};
  std::string text;
  for (const RequiredSpaceRow& row : table) {
    if (row.volumeKey.empty()) break;
    if (row.bytes <= kUncheckedSpace) continue;
    sys::Result<uint64_t> free = info->FreeBytesAvailable(row.volumeKey + '\\');
    if (free.error == sys::err::kProcNotFound || free.error == sys::err::kModuleNotFound) return {};
    if (!free.ok()) {
      WriteLog("Free space of %s unknown (%u)", row.volumeKey.c_str(), free.error);
      continue;
    }
    if (free.value >= row.bytes) continue;
    AppendFormat(text, "\r\n%s\r\n", row.volumeKey.c_str());
    AppendFormat(text, "%s: %s KB\r\n", LoadText(text::kFreeSpace).c_str(), Kilobytes(free.value).c_str());
    AppendFormat(text, "%s: %s KB\r\n\r\n", LoadText(text::kRequiredDiskSpace).c_str(), Kilobytes(row.bytes).c_str());
  }
  return text;
}

int CheckDiskSpace(sys::WindowId owner, const std::string& caption) {
  std::string shortfalls = DescribeSpaceShortfalls();
  if (shortfalls.empty()) return 1;
  std::string question = LoadText(text::kNotEnoughFreeSpace);
  question.append("\r\n").append(shortfalls).append(LoadText(text::kAskContinue));
  int answer = LoggedMessageBox(owner, question, caption, mb::kYesNo, sys::answer::kNo);
  return answer == sys::answer::kNo ? 0 : 1;
}
