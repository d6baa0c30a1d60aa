#include "sourcefile.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>

#include "listdate.h"
#include "sys/peversion.h"

namespace publish {

std::optional<std::string> AnsiName(const std::string& utf8) {
  std::string out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if ((c & 0xE0) == 0xC0 && c <= 0xC3 && i + 1 < utf8.size() &&
               (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
      out += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
    } else {
      return std::nullopt;
    }
  }
  return out;
}

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
  struct stat info{};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return StampOf(info.st_mtime);
}

FileStamp StampOf(std::time_t seconds) {
  FileStamp stamp;
  stamp.listDate = site::ListDateText(seconds);
  std::tm local{};
  if (localtime_r(&seconds, &local) && local.tm_year >= 80) {
    stamp.dosDate = static_cast<uint16_t>(((local.tm_year - 80) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
    stamp.dosTime = static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  }
  return stamp;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path.string();
    return std::nullopt;
  }
  std::vector<uint8_t> bytes;
  in.seekg(0, std::ios::end);
  auto length = in.tellg();
  in.seekg(0);
  if (length < 0) {
    error = "cannot read " + path.string();
    return std::nullopt;
  }
  bytes.resize(static_cast<size_t>(length));
  if (!bytes.empty() && !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) {
    error = "cannot read " + path.string();
    return std::nullopt;
  }
  return bytes;
}

std::string VersionText(const std::vector<uint8_t>& bytes) {
  auto version = sys::ReadPeVersion(bytes);
  if (!version) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", version->file[0], version->file[1], version->file[2],
                version->file[3]);
  return text;
}

}  // namespace publish
