#include "registrationlog.h"

#include <ctime>
#include <fstream>

#include "listdate.h"

namespace updatesite {

RegistrationLog::RegistrationLog(std::filesystem::path file) : file_(std::move(file)) {}

std::string PlainLogText(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return out;
}

void RegistrationLog::Append(const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string line = site::ListDateText(std::time(nullptr));
  for (const auto& [key, value] : fields) line += "\t" + key + "=" + PlainLogText(value);
  line += "\n";
  std::lock_guard lock(mutex_);
  std::ofstream out(file_, std::ios::binary | std::ios::app);
  out << line;
}

}  // namespace updatesite
