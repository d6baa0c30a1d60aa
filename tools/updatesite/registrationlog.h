#pragma once
// The per-site record of who asked for which file list: one line per request with the
// registration data the installer sends, tab-separated, control characters removed,
// so a hostile value cannot forge or break lines.
#include <filesystem>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace updatesite {

class RegistrationLog {
 public:
  explicit RegistrationLog(std::filesystem::path file);
  // `fields` are appended in order after the time, as "key=value".
  void Append(const std::vector<std::pair<std::string, std::string>>& fields);

 private:
  std::filesystem::path file_;
  std::mutex mutex_;
};

// The text with tabs, line ends and other control characters made blanks.
std::string PlainLogText(const std::string& text);

}  // namespace updatesite
