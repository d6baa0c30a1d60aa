#include "transfer/sitereplies.h"

#include "sys/files.h"
#include "sys/os.h"

namespace {

constexpr std::size_t kTimestampLength = 19;

}  // namespace

bool IsServerTimestamp(std::string_view reply) {
  if (reply.size() != kTimestampLength) return false;
  // The stamp is written into INI files later: a line end or other control byte inside
  // would break their lines.
  for (char c : reply) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return reply[2] == '-' && reply[5] == '-' && reply[13] == ':' && reply[16] == ':';
}

bool ReadFileStart(const std::string& path, std::size_t limit, std::string& text) {
  text.clear();
  sys::Files* files = sys::os().files;
  if (files == nullptr) return false;
  auto opened = files->OpenOwned(path, sys::FileAccess::Read, sys::share::kRead, sys::Disposition::OpenExisting);
  if (!opened.ok()) return false;
  text.resize(limit);
  auto read = files->Read(opened.value.get(), text.data(), static_cast<uint32_t>(limit));
  text.resize(read.ok() ? read.value : 0);
  return true;
}

bool TerminateLastLine(const std::string& path) {
  sys::Files* files = sys::os().files;
  if (files == nullptr) return false;
  auto opened = files->OpenOwned(path, sys::FileAccess::ReadWrite, sys::share::kNone, sys::Disposition::OpenExisting);
  if (!opened.ok()) return false;
  sys::FileHandle file = opened.value.get();
  auto size = files->GetSize(file);
  if (!size.ok() || size.value <= 2) return true;

  char tail[2] = {0, 0};
  if (!files->Seek(file, -2, sys::SeekFrom::End).ok()) return true;
  auto read = files->Read(file, tail, 2);
  if (!read.ok() || read.value != 2) return true;
  if (tail[0] == '\r' || tail[1] == '\n') return true;

  files->Seek(file, 0, sys::SeekFrom::End);
  files->Write(file, "\r\n", 2);
  return true;
}

std::string FirstLineWithCr(std::string_view reply) {
  std::size_t cr = reply.find('\r');
  return std::string(cr == std::string_view::npos ? reply : reply.substr(0, cr + 1));
}

std::vector<std::string> SplitReleaseList(std::string_view line) {
  std::vector<std::string> releases;
  std::size_t end = line.find('\r');
  if (end != std::string_view::npos) line = line.substr(0, end);
  std::size_t start = 0;
  while (start <= line.size()) {
    std::size_t tab = line.find('\t', start);
    std::string_view piece = line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start);
    if (!piece.empty()) releases.emplace_back(piece);
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  return releases;
}
