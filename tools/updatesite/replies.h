#pragma once
// The texts the site answers with, as the installer reads them.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace updatesite {

// Exactly the 19 characters DD-MM-YYYY hh:mm:ss, nothing after them.
std::string TimestampReply(std::time_t now);

// The release-list line: a tab before each release, newest first, then CR LF. The
// installer keeps at most 127 characters, so older releases that would not fit are
// left out rather than cut in half.
std::string ReleaseListReply(const std::vector<std::string>& newestFirst);

// "_ItemAttachmentSizes_" CR LF size TAB cabinet size.
std::string SizesReply(int64_t size, int64_t cabSize);

// "__ERROR__" and the message the installer shows from the tenth character on.
std::string ErrorReply(const std::string& message);

// Orders releases newest first: by their leading number, then by the whole text.
void SortNewestFirst(std::vector<std::string>& releases);

// A small HTML page with the text escaped.
std::string HtmlPage(const std::string& title, const std::string& text);

}  // namespace updatesite
