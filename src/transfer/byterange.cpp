#include "transfer/byterange.h"

#include <charconv>
#include <string_view>

namespace {

// Takes a number and the character after it off the front of `text`.
bool TakeNumber(std::string_view& text, char after, uint64_t& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end == text.data()) return false;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  if (after == '\0') return text.empty();
  if (text.empty() || text.front() != after) return false;
  text.remove_prefix(1);
  return true;
}

}  // namespace

std::string RangeRequestLine(uint64_t from) { return "Range: bytes=" + std::to_string(from) + "-\r\n"; }

bool IsRestOfBody(const std::string& contentRange, uint64_t from, uint64_t total) {
  constexpr std::string_view kUnit = "bytes ";
  std::string_view text = contentRange;
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) text.remove_suffix(1);
  if (text.substr(0, kUnit.size()) != kUnit) return false;
  text.remove_prefix(kUnit.size());
  uint64_t first = 0, last = 0, length = 0;
  if (!TakeNumber(text, '-', first) || !TakeNumber(text, '/', last) || !TakeNumber(text, '\0', length)) return false;
  return first == from && length == total && last + 1 == total && from < total;
}
