#pragma once
// Who may use the site: a users file of "name:password" lines ('#' starts a comment).
// A name may carry a domain, "CORP\jan"; then only that domain is accepted. A name
// without one accepts the bare name and the name behind any domain, because the
// installer sends "domain\user" whenever its domain field is filled.
#include <optional>
#include <string>
#include <vector>

namespace updatesite {

struct UserEntry {
  std::string domain;  // empty: any domain or none
  std::string name;
  std::string password;
};

struct UsersFile {
  std::vector<UserEntry> users;
  std::string error;  // "line N: ..." when the file is not a users file
};

UsersFile ParseUsers(const std::string& text);

// The user named in a Basic Authorization header whose password is right; nothing
// when the header is missing, malformed or the credentials are wrong.
std::optional<std::string> AuthorizedUser(const std::vector<UserEntry>& users, const std::string& header);

// Standard base64 without line breaks; nothing when the text is not base64.
std::optional<std::string> DecodeBase64(const std::string& text);

}  // namespace updatesite
