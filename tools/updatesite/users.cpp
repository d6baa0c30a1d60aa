#include "users.h"

#include <strings.h>

#include <sstream>

namespace updatesite {
namespace {

constexpr size_t kHeaderLimit = 1024;

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

bool SameText(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

// Compares all of both texts, so the time taken does not tell how much matched.
bool SamePassword(const std::string& a, const std::string& b) {
  unsigned char difference = a.size() == b.size() ? 0 : 1;
  for (size_t i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i % (b.size() + 1)]);
  return difference == 0;
}

void SplitDomain(const std::string& full, std::string& domain, std::string& name) {
  size_t slash = full.find('\\');
  domain = slash == std::string::npos ? std::string{} : full.substr(0, slash);
  name = slash == std::string::npos ? full : full.substr(slash + 1);
}

}  // namespace

std::optional<std::string> DecodeBase64(const std::string& text) {
  std::string out;
  unsigned buffer = 0;
  int bits = 0;
  size_t padding = 0;
  for (char c : text) {
    if (c == '=') {
      ++padding;
      continue;
    }
    int v = Base64Value(c);
    if (v < 0 || padding > 0) return std::nullopt;
    buffer = (buffer << 6) | static_cast<unsigned>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((buffer >> bits) & 0xFF);
    }
  }
  if (padding > 2) return std::nullopt;
  return out;
}

UsersFile ParseUsers(const std::string& text) {
  UsersFile file;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0) {
      file.error = "line " + std::to_string(number) + ": expected name:password";
      return file;
    }
    UserEntry entry;
    SplitDomain(line.substr(0, colon), entry.domain, entry.name);
    entry.password = line.substr(colon + 1);
    if (entry.name.empty()) {
      file.error = "line " + std::to_string(number) + ": the name is empty";
      return file;
    }
    file.users.push_back(std::move(entry));
  }
  return file;
}

std::optional<std::string> AuthorizedUser(const std::vector<UserEntry>& users, const std::string& header) {
  constexpr char kScheme[] = "Basic ";
  if (header.size() > kHeaderLimit || strncasecmp(header.c_str(), kScheme, sizeof kScheme - 1) != 0)
    return std::nullopt;
  auto decoded = DecodeBase64(header.substr(sizeof kScheme - 1));
  if (!decoded) return std::nullopt;
  size_t colon = decoded->find(':');
  if (colon == std::string::npos) return std::nullopt;
  std::string domain, name;
  SplitDomain(decoded->substr(0, colon), domain, name);
  std::string password = decoded->substr(colon + 1);
  for (const auto& user : users) {
    if (!SameText(user.name, name)) continue;
    if (!user.domain.empty() && !SameText(user.domain, domain)) continue;
    if (SamePassword(user.password, password)) return decoded->substr(0, colon);
  }
  return std::nullopt;
}

}  // namespace updatesite
