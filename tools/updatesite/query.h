#pragma once
// The query of a request, read from the raw target: the installer appends its values
// unescaped except for "%2B", so '+' stays '+' here (a form decoder would make it a
// blank). Keys are found without regard to case, as the site's pages always did.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace updatesite {

constexpr size_t kQueryValueLimit = 256;
constexpr size_t kQueryPairLimit = 32;

struct Query {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::string error;  // why the query is refused; empty when it is fine

  std::optional<std::string> Get(std::string_view key) const;
  bool ok() const { return error.empty(); }
};

// `target` is the request target (path and query); only the part after '?' is read.
Query ParseQuery(std::string_view target);

// The page name: the last part of the path, e.g. "LogItemAttachment.aspx".
std::string PageOf(std::string_view path);

}  // namespace updatesite
