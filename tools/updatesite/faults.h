#pragma once
// Faults the site can be told to make, so that the installer's retry and error paths
// can be driven end to end. A fault file holds one rule per line ('#' comments):
//
//   PAGE[?KEY=VALUE&...]  ACTION [ARGUMENT...]  [times=N]
//
// PAGE is a page name such as LogItemAttachment.aspx, or '*' for any; every KEY=VALUE
// must be in the request (keys without regard to case, VALUE '*' for any value). The
// first rule that matches and is not used up applies. Actions:
//
//   html            an HTML error page with status 200
//   error TEXT...   "__ERROR__" and the text
//   status N        HTTP status N with a short page
//   401             refuse the credentials, whatever they are (a 401 loop)
//   short N         the item's first N bytes only, as a complete reply
//   cut N           announce the whole item, send N bytes, drop the connection
//   sizes S K       the item-size reply with size S and cabinet size K
//   slow N          send the item at N bytes per second
//   norange         the whole reply with status 200, whatever range the request asks for
//
// times=N uses the rule up after N requests. The file is read again whenever it
// changes, which also resets the counts.
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "query.h"

namespace updatesite {

enum class FaultKind { Html, Error, Status, Unauthorized, Short, Cut, Sizes, Slow, NoRange };

struct Fault {
  FaultKind kind = FaultKind::Html;
  int64_t first = 0;   // N, S
  int64_t second = 0;  // K
  std::string text;
};

struct FaultRule {
  std::string page;
  std::vector<std::pair<std::string, std::string>> conditions;
  Fault fault;
  int64_t timesLeft = -1;  // -1: always
};

struct FaultParse {
  std::vector<FaultRule> rules;
  std::string error;
};

FaultParse ParseFaults(const std::string& text);

// The rules of a fault file, read again when the file changes.
class FaultBook {
 public:
  explicit FaultBook(std::filesystem::path file);
  // The fault for this request, counting it against its rule. Refusals (401) are
  // taken before the credentials are checked, every other fault after, so a
  // request that is only turned away for its credentials uses up nothing.
  std::optional<Fault> Take(const std::string& page, const Query& query, bool refusals);
  // Reading problems, for the log.
  std::string LastError();

 private:
  void Refresh();

  std::filesystem::path file_;
  std::mutex mutex_;
  std::filesystem::file_time_type stamp_{};
  bool loaded_ = false;
  std::vector<FaultRule> rules_;
  std::string error_;
};

}  // namespace updatesite
