#include "replies.h"

#include <algorithm>

#include "listdate.h"

namespace updatesite {
namespace {

constexpr size_t kReleaseListLimit = 127;

uint64_t LeadingNumber(const std::string& text) {
  uint64_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9' || n > UINT64_MAX / 10 - 10) break;
    n = n * 10 + static_cast<uint64_t>(c - '0');
  }
  return n;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

std::string TimestampReply(std::time_t now) { return site::ListDateText(now); }

std::string ReleaseListReply(const std::vector<std::string>& newestFirst) {
  std::string line;
  for (const auto& release : newestFirst) {
    if (line.size() + 1 + release.size() + 1 > kReleaseListLimit) break;  // room for the CR
    line += '\t';
    line += release;
  }
  return line + "\r\n";
}

std::string SizesReply(int64_t size, int64_t cabSize) {
  return "_ItemAttachmentSizes_\r\n" + std::to_string(size) + "\t" + std::to_string(cabSize);
}

std::string ErrorReply(const std::string& message) { return "__ERROR__" + message; }

void SortNewestFirst(std::vector<std::string>& releases) {
  std::sort(releases.begin(), releases.end(), [](const std::string& a, const std::string& b) {
    uint64_t na = LeadingNumber(a), nb = LeadingNumber(b);
    if (na != nb) return na > nb;
    return a > b;
  });
}

std::string HtmlPage(const std::string& title, const std::string& text) {
  return "<html><head><title>" + Escape(title) + "</title></head>\r\n<body><h1>" + Escape(title) + "</h1>\r\n<p>" +
         Escape(text) + "</p></body></html>\r\n";
}

}  // namespace updatesite
