#include "query.h"

#include <strings.h>

namespace updatesite {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    int high = 0, low = 0;
    if (text[i] == '%' && i + 2 < text.size() && (high = HexValue(text[i + 1])) >= 0 &&
        (low = HexValue(text[i + 2])) >= 0) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> Query::Get(std::string_view key) const {
  for (const auto& [k, v] : pairs)
    if (k.size() == key.size() && strncasecmp(k.data(), key.data(), key.size()) == 0) return v;
  return std::nullopt;
}

Query ParseQuery(std::string_view target) {
  Query query;
  size_t mark = target.find('?');
  if (mark == std::string_view::npos) return query;
  std::string_view rest = target.substr(mark + 1);
  while (!rest.empty()) {
    size_t amp = rest.find('&');
    std::string_view pair = rest.substr(0, amp);
    rest = amp == std::string_view::npos ? std::string_view{} : rest.substr(amp + 1);
    if (pair.empty()) continue;
    if (query.pairs.size() == kQueryPairLimit) {
      query.error = "too many query values";
      return query;
    }
    size_t eq = pair.find('=');
    std::string key = PercentDecode(pair.substr(0, eq));
    std::string value = eq == std::string_view::npos ? std::string{} : PercentDecode(pair.substr(eq + 1));
    if (key.size() > kQueryValueLimit || value.size() > kQueryValueLimit) {
      query.error = "a query value is too long";
      return query;
    }
    query.pairs.emplace_back(std::move(key), std::move(value));
  }
  return query;
}

std::string PageOf(std::string_view path) {
  size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace updatesite
