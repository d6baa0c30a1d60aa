#include "app/options.h"

#include <algorithm>
#include <limits>

#include "sys/paths.h"

std::optional<std::string> FindOption(std::string_view commandLine, std::string_view name) {
  std::string pattern = "/";
  pattern.append(name);
  pattern += ':';

  std::size_t lastHit = std::string_view::npos;
  for (std::size_t at = commandLine.find(pattern); at != std::string_view::npos;
       at = commandLine.find(pattern, at + pattern.size())) {
    lastHit = at;
  }
  if (lastHit == std::string_view::npos) return std::nullopt;

  std::string_view rest = commandLine.substr(lastHit + pattern.size());
  if (!rest.empty() && rest.front() == '"') {
    std::size_t closing = rest.find('"', 1);
    if (closing == std::string_view::npos) return std::nullopt;
    return std::string(rest.substr(1, closing - 1));
  }
  return std::string(rest.substr(0, rest.find(' ')));
}

int32_t OptionNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  int64_t number = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    number = number * 10 + (text[at] - '0');
    if (number > kLimit) number = kLimit;
  }
  if (negative) return static_cast<int32_t>(-number);
  return static_cast<int32_t>(std::min<int64_t>(number, std::numeric_limits<int32_t>::max()));
}

bool OptionFlag(std::string_view text) { return !text.empty() && text.front() == '1'; }

bool HasNoCheckSwitch(std::string_view commandLine) {
  return sys::FoldedCopy(commandLine).find("/nocheck") != std::string::npos;
}
