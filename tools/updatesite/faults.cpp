#include "faults.h"

#include <strings.h>

#include <charconv>
#include <fstream>
#include <sstream>

namespace updatesite {
namespace {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::optional<int64_t> Number(const std::string& text) {
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

std::string ReadMatch(const std::string& word, FaultRule& rule) {
  size_t mark = word.find('?');
  rule.page = word.substr(0, mark);
  if (mark == std::string::npos) return {};
  std::string rest = word.substr(mark + 1);
  std::istringstream pairs(rest);
  for (std::string pair; std::getline(pairs, pair, '&');) {
    size_t eq = pair.find('=');
    if (eq == std::string::npos || eq == 0) return "condition '" + pair + "' must be KEY=VALUE";
    rule.conditions.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
  }
  return {};
}

// The action words after the match; `times=N` may follow.
std::string ReadAction(std::vector<std::string> words, FaultRule& rule) {
  if (!words.empty() && words.back().rfind("times=", 0) == 0) {
    auto times = Number(words.back().substr(6));
    if (!times || *times == 0) return "times must be a positive number";
    rule.timesLeft = *times;
    words.pop_back();
  }
  if (words.empty()) return "an action is missing";
  const std::string& action = words[0];
  Fault& f = rule.fault;
  auto numberAt = [&words](size_t i) { return i < words.size() ? Number(words[i]) : std::nullopt; };
  if (action == "html" && words.size() == 1) {
    f.kind = FaultKind::Html;
  } else if (action == "error") {
    f.kind = FaultKind::Error;
    for (size_t i = 1; i < words.size(); ++i) f.text += (i > 1 ? " " : "") + words[i];
  } else if (action == "401" && words.size() == 1) {
    f.kind = FaultKind::Unauthorized;
  } else if (action == "norange" && words.size() == 1) {
    f.kind = FaultKind::NoRange;
  } else if ((action == "status" || action == "short" || action == "cut" || action == "slow") && words.size() == 2 &&
             numberAt(1)) {
    f.kind = action == "status" ? FaultKind::Status
             : action == "short" ? FaultKind::Short
             : action == "cut"   ? FaultKind::Cut
                                 : FaultKind::Slow;
    f.first = *numberAt(1);
    if (f.kind == FaultKind::Status && (f.first < 100 || f.first > 599)) return "status must be 100 to 599";
    if (f.kind == FaultKind::Slow && f.first == 0) return "slow needs a rate above 0";
  } else if (action == "sizes" && words.size() == 3 && numberAt(1) && numberAt(2)) {
    f.kind = FaultKind::Sizes;
    f.first = *numberAt(1);
    f.second = *numberAt(2);
  } else {
    return "unknown action or wrong arguments: '" + action + "'";
  }
  return {};
}

bool Matches(const FaultRule& rule, const std::string& page, const Query& query) {
  if (rule.page != "*" && strcasecmp(rule.page.c_str(), page.c_str()) != 0) return false;
  for (const auto& [key, value] : rule.conditions) {
    auto actual = query.Get(key);
    if (!actual || (value != "*" && *actual != value)) return false;
  }
  return true;
}

}  // namespace

FaultParse ParseFaults(const std::string& text) {
  FaultParse parse;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    auto words = Words(line);
    if (words.empty() || words[0][0] == '#') continue;
    FaultRule rule;
    std::string problem = ReadMatch(words[0], rule);
    if (problem.empty()) problem = ReadAction({words.begin() + 1, words.end()}, rule);
    if (!problem.empty()) {
      parse.error = "line " + std::to_string(number) + ": " + problem;
      parse.rules.clear();
      return parse;
    }
    parse.rules.push_back(std::move(rule));
  }
  return parse;
}

FaultBook::FaultBook(std::filesystem::path file) : file_(std::move(file)) {}

void FaultBook::Refresh() {
  std::error_code ec;
  auto stamp = std::filesystem::last_write_time(file_, ec);
  if (ec) {  // no file: no faults
    rules_.clear();
    loaded_ = false;
    return;
  }
  if (loaded_ && stamp == stamp_) return;
  std::ifstream in(file_, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  auto parse = ParseFaults(text.str());
  rules_ = std::move(parse.rules);
  error_ = parse.error.empty() ? std::string{} : file_.string() + ", " + parse.error;
  stamp_ = stamp;
  loaded_ = true;
}

std::optional<Fault> FaultBook::Take(const std::string& page, const Query& query, bool refusals) {
  std::lock_guard lock(mutex_);
  Refresh();
  for (auto& rule : rules_) {
    if ((rule.fault.kind == FaultKind::Unauthorized) != refusals) continue;
    if (rule.timesLeft == 0 || !Matches(rule, page, query)) continue;
    if (rule.timesLeft > 0) --rule.timesLeft;
    return rule.fault;
  }
  return std::nullopt;
}

std::string FaultBook::LastError() {
  std::lock_guard lock(mutex_);
  return error_;
}

}  // namespace updatesite
