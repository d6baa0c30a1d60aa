#pragma once
// What the publisher learns about one file of the product folder.
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace publish {

// Converts a UTF-8 name to the list's ANSI bytes (Latin-1 range); nothing when a
// character has no such byte.
std::optional<std::string> AnsiName(const std::string& utf8);

struct FileStamp {
  std::string listDate;  // DD-MM-YYYY hh:mm:ss, local time
  uint16_t dosDate = 0;
  uint16_t dosTime = 0;
};

// The file's last-write time as the list and the cabinet write it, or nothing.
std::optional<FileStamp> StampOf(const std::filesystem::path& path);
FileStamp StampOf(std::time_t when);

// The whole file, or nothing with the reason in `error`.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path& path, std::string& error);

// "a.b.c.d" from the file's version resource, or empty.
std::string VersionText(const std::vector<uint8_t>& bytes);

}  // namespace publish
