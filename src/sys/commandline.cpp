#include "sys/commandline.h"

namespace sys {

std::string ArgumentsAfterProgramName(std::string_view line) {
  std::size_t at = 0;
  if (!line.empty() && line[0] == '"') {
    std::size_t close = line.find('"', 1);
    at = close == std::string_view::npos ? line.size() : close + 1;
  } else {
    while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
  }
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
  return std::string(line.substr(at));
}

}  // namespace sys
