#pragma once
// Reading the site's small replies out of the cache files they arrive in.
#include <string>
#include <string_view>
#include <vector>

// The server's time stamp is exactly "DD-MM-YYYY hh:mm:ss": 19 characters with the
// dashes and colons in their places and no control character. A trailing line end
// makes it something else.
bool IsServerTimestamp(std::string_view reply);

// The site's refusal: this marker and its reason in place of the reply asked for.
constexpr std::string_view kSiteRefusal = "__ERROR__";
inline bool IsSiteRefusal(std::string_view reply) { return reply.starts_with(kSiteRefusal); }

// Up to `limit` bytes from the start of a file (one read), or nothing when it cannot be
// opened for reading.
bool ReadFileStart(const std::string& path, std::size_t limit, std::string& text);

// Gives a list whose last line lacks its line end a CR LF, so its last record is
// complete. A file that ends in LF, or whose second-to-last byte is CR, is left alone,
// as is a file of two bytes or fewer. False when it cannot be opened for writing.
bool TerminateLastLine(const std::string& path);

// The release-list line: the reply up to and with its first CR.
std::string FirstLineWithCr(std::string_view reply);
// The releases of a release-list line ("\t30052\t30053\r"), empty ones left out.
std::vector<std::string> SplitReleaseList(std::string_view line);
